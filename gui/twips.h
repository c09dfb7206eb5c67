// The window's layout is given in twips: 1440 per inch, 15 per pixel at 96 dpi.
#pragma once

#include <QRect>

namespace dravella::gui {

// Nearest whole pixel: 370 twips (24.67 px) become 25.
constexpr int TwipsToPixels(int twips) { return (twips + 7) / 15; }

inline QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
               TwipsToPixels(height));
}

}  // namespace dravella::gui
