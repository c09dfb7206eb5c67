// The controls of the main window as a test reaches them: by objectName,
// the names the design gives them.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>

#include "gui/image_list.h"
#include "gui/picture_button.h"

namespace dravella::testing {

struct FormControls {
  gui::PictureButton *Command1, *Command5, *Command2, *Command6, *Command8, *Command7, *Command9;
  gui::PictureButton *Command3, *Command4;
  QPushButton *Command10, *Command11;
  QTreeWidget *ListView1, *ListView2, *ListView3;
  QLabel *Label1, *Label2, *Label3, *Label7;
  QComboBox *Combo1, *Combo2, *Combo5;
  QProgressBar* ProgressBar1;
  gui::ImageList* ImageList1;
  QMenu *EE, *FF, *Actions, *Help;
  QAction *AddExcel, *AddFolder, *RemoveItem, *RemoveAll, *Removeoutput, *RemoveAllOutput;
  QAction *Separate, *Settings, *Help1, *HomePage, *About;
};

template <typename T>
T* Named(const QObject& form, const char* name) {
  T* found = form.findChild<T*>(QString::fromLatin1(name));
  Q_ASSERT_X(found != nullptr, "Named", name);
  return found;
}

inline FormControls Ui(const QWidget& form) {
  FormControls c;
#define DRAVELLA_FIND(field) c.field = Named<std::remove_pointer_t<decltype(c.field)>>(form, #field)
  DRAVELLA_FIND(Command1); DRAVELLA_FIND(Command5); DRAVELLA_FIND(Command2); DRAVELLA_FIND(Command6);
  DRAVELLA_FIND(Command8); DRAVELLA_FIND(Command7); DRAVELLA_FIND(Command9); DRAVELLA_FIND(Command3);
  DRAVELLA_FIND(Command4); DRAVELLA_FIND(Command10); DRAVELLA_FIND(Command11);
  DRAVELLA_FIND(ListView1); DRAVELLA_FIND(ListView2); DRAVELLA_FIND(ListView3);
  DRAVELLA_FIND(Label1); DRAVELLA_FIND(Label2); DRAVELLA_FIND(Label3); DRAVELLA_FIND(Label7);
  DRAVELLA_FIND(Combo1); DRAVELLA_FIND(Combo2); DRAVELLA_FIND(Combo5);
  DRAVELLA_FIND(ProgressBar1); DRAVELLA_FIND(ImageList1);
  DRAVELLA_FIND(EE); DRAVELLA_FIND(FF); DRAVELLA_FIND(Actions); DRAVELLA_FIND(Help);
  DRAVELLA_FIND(AddExcel); DRAVELLA_FIND(AddFolder); DRAVELLA_FIND(RemoveItem); DRAVELLA_FIND(RemoveAll);
  DRAVELLA_FIND(Removeoutput); DRAVELLA_FIND(RemoveAllOutput); DRAVELLA_FIND(Separate);
  DRAVELLA_FIND(Settings); DRAVELLA_FIND(Help1); DRAVELLA_FIND(HomePage); DRAVELLA_FIND(About);
#undef DRAVELLA_FIND
  return c;
}

// A real mouse click on a button.
inline void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

// A real mouse click on a row of a list, scrolled into view first.
inline void ClickRow(QTreeWidget* list, int row) {
  QTreeWidgetItem* item = list->topLevelItem(row);
  list->scrollToItem(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

}  // namespace dravella::testing
