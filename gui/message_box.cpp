#include "gui/message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "gui/program_title.h"
#include "gui/qstring_convert.h"

namespace dravella::gui {

void QtMessageBoxes::Show(const std::string& text, MessageIcon icon) {
  // Without an owner of its own, the box stands over the active window.
  QMessageBox box(owner_ != nullptr ? owner_ : QApplication::activeWindow());
  box.setWindowTitle(kProgramTitle);
  // A workbook named <b>Q</b>.xls is shown as it is named, not in bold.
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQString(text));
  switch (icon) {
    case MessageIcon::kNone: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::kInformation: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::kCritical: box.setIcon(QMessageBox::Critical); break;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

}  // namespace dravella::gui
