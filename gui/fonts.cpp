#include "gui/fonts.h"

#include <QStringList>

namespace dravella::gui {

QFont ArialFont(qreal points) {
  QFont font;
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  return font;
}

}  // namespace dravella::gui
