// A command button with a picture above its caption (or a picture alone),
// laid out like the classic graphical button: the picture at its own size,
// centred near the top, the caption on the line below it.
#pragma once

#include <QPushButton>

namespace dravella::gui {

class PictureButton : public QPushButton {
  Q_OBJECT

 public:
  PictureButton(const QIcon& picture, const QSize& picture_size, const QString& caption,
                QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace dravella::gui
