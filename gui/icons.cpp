#include "gui/icons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace dravella::gui {
namespace {

// The sizes the window asks for, and their doubles for high-density screens.
constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 96};

QPixmap Render(QSvgRenderer& renderer, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, QRectF(0, 0, size, size));
  return pixmap;
}

}  // namespace

QIcon ProgramIcon(const QString& name) {
  QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(name));
  QIcon icon;
  if (!renderer.isValid()) return icon;
  for (int size : kIconSizes) icon.addPixmap(Render(renderer, size));
  return icon;
}

}  // namespace dravella::gui
