// The window's typeface: Arial, or its metric twin Liberation Sans where
// Arial itself is not installed, so captions keep the widths they were laid
// out for.
#pragma once

#include <QFont>

namespace dravella::gui {

inline constexpr qreal kWindowFontPoints = 8.4;  // lists, combo boxes, small labels
inline constexpr qreal kButtonFontPoints = 9.0;  // buttons, status line, output caption

QFont ArialFont(qreal points);

}  // namespace dravella::gui
