// A label that acts as a link: highlight colour, hand pointer, clicked() on a
// left-button click.
#pragma once

#include <QLabel>

namespace dravella::gui {

class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace dravella::gui
