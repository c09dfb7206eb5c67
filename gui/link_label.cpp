#include "gui/link_label.h"

#include <QMouseEvent>

namespace dravella::gui {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, colours.color(QPalette::Highlight));
  setPalette(colours);
  setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
}

}  // namespace dravella::gui
