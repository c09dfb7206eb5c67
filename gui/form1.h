// form1, the main window: the input, workbook and worksheet lists, the naming
// and format choices, the output directories, the status line and progress
// bar, the row of command buttons and the menu bar.
//
// The layout is absolute and fixed (client area 592 x 540 pixels). Every
// button and menu item runs a named click operation; a menu item that stands
// for a button calls that button's operation, so the two never differ.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <string>

#include "core/workbook_listing.h"
#include "gui/image_list.h"
#include "gui/picture_button.h"
#include "gui/window_services.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace dravella::gui {

class Form1 : public QMainWindow {
  Q_OBJECT

 public:
  // Loads the window (the start-up order runs here, before it is shown).
  explicit Form1(const WindowServices& services, QWidget* parent = nullptr);
  ~Form1() override;

  const WindowServices& Services() const { return services_; }
  // The worksheet choices per workbook-list position and which workbook is
  // on screen, as Convert reads them.
  const core::WorksheetListing& Listing() const { return listing_; }

 protected:
  // Unloading: Exit, the close box or any other close saves the lists first.
  void closeEvent(QCloseEvent* event) override;
  // Notes which entry was current when a mouse button went down in a list.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The window's sides for the Convert command and for the listing rules.
  friend class FormConvertWindow;
  friend class FormListingWindow;

  // Controls, by the names the design gives them (also their objectName).
  PictureButton* Command1;  // Add Excel
  PictureButton* Command5;  // Add Folder
  PictureButton* Command2;  // Remove File
  PictureButton* Command6;  // Convert
  PictureButton* Command8;  // Help
  PictureButton* Command7;  // HomePage
  PictureButton* Command9;  // Exit
  QTreeWidget* ListView1;   // input list
  PictureButton* Command3;  // up
  PictureButton* Command4;  // down
  QLabel* Label3;
  QComboBox* Combo2;  // DBF level
  QLabel* Label2;
  QComboBox* Combo1;       // naming mode
  QTreeWidget* ListView2;  // workbook list
  QTreeWidget* ListView3;  // worksheet list
  QLabel* Label1;          // status line
  QLabel* Label7;
  QComboBox* Combo5;  // output directory
  QPushButton* Command10;  // Browse
  QPushButton* Command11;  // View
  QProgressBar* ProgressBar1;
  ImageList* ImageList1;

  QMenu* EE;  // "File"
  QAction* AddExcel;
  QAction* AddFolder;
  QMenu* FF;  // "Edit"
  QAction* RemoveItem;
  QAction* RemoveAll;
  QAction* Removeoutput;
  QAction* RemoveAllOutput;
  QMenu* Actions;
  QAction* Separate;  // "Convert"
  QAction* Settings;
  QMenu* Help;
  QAction* Help1;
  QAction* HomePage;
  QAction* About;

  // Click operations (virtual, so a test window can record which one a
  // control runs). Those of the lists and Convert are filled in with the
  // input list, sheet browser and Convert command.
  virtual void Command1Click();  // Add Excel
  virtual void Command5Click();  // Add Folder
  virtual void Command2Click();  // Remove File
  virtual void Command3Click();  // Up
  virtual void Command4Click();  // Down
  virtual void Command6Click();  // Convert
  virtual void Command7Click();  // home page
  virtual void Command8Click();  // help file
  virtual void Command9Click();  // Exit
  virtual void Command10Click();  // Browse
  virtual void Command11Click();  // View
  virtual void RemoveAllClick();
  virtual void RemoveoutputClick();
  virtual void RemoveAllOutputClick();
  virtual void SettingsClick();
  virtual void AboutClick();
  // Run for a click on the current entry and for every change of the
  // current entry, by mouse, keys or the program.
  virtual void ListView1ItemClick();
  virtual void ListView2ItemClick();

  void CreateButtons(QWidget* client);
  void CreateListsAndChoices(QWidget* client);
  void CreateMenus();
  void SetFocusOrder();
  void SetAccessibleNames();
  void ConnectCommands();
  void FollowCurrentEntries();
  void LoadForm();
  void UnloadForm();

  // The input list's folder scan: rebuilds ListView2 from an input path (a
  // workbook, or a folder whose .xls files are listed), empties ListView3
  // and forgets the worksheet choices. Never throws.
  void FillWorkbookList(const std::string& path);
  // Lists the worksheets of the current workbook in ListView3 (see
  // core::WorksheetListing::ListCurrent).
  void ListSheets(bool from_choices);
  // Copies the labels and ticks of ListView3 into the choices.
  void SaveSheetChoices();
  // The path (file system bytes) of the current input entry, or empty.
  std::string ChosenInputPath() const;
  // Ends an unfinished rename in ListView3 as Enter would.
  void CommitOpenEditor();

  WindowServices services_;
  core::WorksheetListing listing_;
  // The input entry whose workbooks ListView2 lists; null when none.
  const QTreeWidgetItem* listed_input_ = nullptr;
  // Above zero while the window itself rebuilds or moves list entries: the
  // current-entry changes that causes are not the user's.
  int rebuilding_ = 0;
  // The current entry of ListView1 and ListView2 when a mouse button last
  // went down on them.
  const QTreeWidgetItem* current_at_press_[2] = {nullptr, nullptr};
};

// Holds Form1's rebuilding mark for a scope.
class RebuildingScope {
 public:
  explicit RebuildingScope(int& counter) : counter_(counter) { ++counter_; }
  ~RebuildingScope() { --counter_; }
  RebuildingScope(const RebuildingScope&) = delete;
  RebuildingScope& operator=(const RebuildingScope&) = delete;

 private:
  int& counter_;
};

}  // namespace dravella::gui
