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

#include "core/sheet_table.h"
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

namespace dravella::gui {

class Form1 : public QMainWindow {
  Q_OBJECT

 public:
  // Loads the window (the start-up order runs here, before it is shown).
  explicit Form1(const WindowServices& services, QWidget* parent = nullptr);
  ~Form1() override;

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

  // The worksheet browser's normal mode; false only while a click in the
  // workbook list is handled.
  bool FreshListing = false;
  // The ticks and labels of the worksheets, per ListView2 position; emptied
  // whenever the workbook list is rebuilt. Convert reads it.
  core::SheetTable SheetTable;
  // The ListView2 position (from 1) of the workbook ListView3 shows; 0
  // before the first listing.
  int32_t ShownWorkbook = 0;

  // The input list's folder scan: rebuilds ListView2 from an input path (a
  // workbook, or a folder whose .xls files are listed) and empties SheetTable.
  // Never throws; an error keeps what was listed before it.
  void FillWorkbookList(const std::string& path);
  // The sheet browser: lists the worksheets of the chosen workbook in
  // ListView3, from SheetTable when it was listed before, else from the file.
  void ListSheets();
  // The full path of the workbook chosen in the window, or the empty text.
  std::string SelectedWorkbookPath() const;
  // Copies the labels and ticks of ListView3 into SheetTable under ShownWorkbook.
  void SaveSheetChoices();

  // Click operations. Those of the lists and Convert are filled in with the
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
  virtual void ListView1ItemClick();
  virtual void ListView2ItemClick();

  const WindowServices& Services() const { return services_; }

 protected:
  // Unloading: Exit, the close box or any other close saves the lists first.
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateButtons(QWidget* client);
  void CreateListsAndChoices(QWidget* client);
  void CreateMenus();
  void SetFocusOrder();
  void ConnectCommands();
  void LoadForm();
  void UnloadForm();

  WindowServices services_;
};

}  // namespace dravella::gui
