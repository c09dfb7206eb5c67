#include "gui/picture_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace dravella::gui {

PictureButton::PictureButton(const QIcon& picture, const QSize& picture_size,
                             const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
  setIcon(picture);
  setIconSize(picture_size);
}

void PictureButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  // The style draws the frame and the focus; the picture and caption are ours.
  painter.drawControl(QStyle::CE_PushButtonBevel, option);

  const QRect content = rect().adjusted(3, 3, -3, -3);
  const int line = fontMetrics().height();
  const bool has_caption = !text().isEmpty();
  const bool pressed = isDown() || isChecked();
  const int shift = pressed ? 1 : 0;

  // The picture keeps its own size unless the button is too small for it.
  QSize picture = iconSize();
  const QSize room(content.width(), content.height() - (has_caption ? line : 0));
  picture = picture.boundedTo(room);
  picture.setWidth(qMin(picture.width(), picture.height()));
  picture.setHeight(picture.width());

  const int block = picture.height() + (has_caption ? line : 0);
  const int top = content.top() + qMax(0, (content.height() - block) / 2);
  const QRect picture_rect(content.left() + (content.width() - picture.width()) / 2 + shift,
                           top + shift, picture.width(), picture.height());
  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  icon().paint(&painter, picture_rect, Qt::AlignCenter, mode);

  if (has_caption) {
    const QRect caption_rect(content.left() + shift, picture_rect.bottom() + 1, content.width(),
                             line);
    painter.drawItemText(caption_rect, Qt::AlignHCenter | Qt::AlignTop, option.palette,
                         isEnabled(), text(), QPalette::ButtonText);
  }
}

}  // namespace dravella::gui
