// Dialog1, the About box: the product's name and version, the maker's
// support and web addresses as links, the rights and legal notices, OK.
#pragma once

#include <QDialog>

#include "core/shell_open.h"

class QFrame;
class QLabel;
class QPushButton;

namespace dravella::gui {

class LinkLabel;

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(core::ShellOpener& shell, QWidget* parent = nullptr);

  QLabel* Label1;
  QLabel* Label4;
  QFrame* Frame1;
  QLabel* Label3;
  LinkLabel* Label2;
  QLabel* Label7;
  LinkLabel* Label8;
  QLabel* Label6;
  QLabel* Label5;
  QPushButton* OKButton;

  // The mail link opens maximized (show mode 3), the web link normally (5).
  void Label2Click();
  void Label8Click();

 private:
  core::ShellOpener& shell_;
};

}  // namespace dravella::gui
