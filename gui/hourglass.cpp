#include "gui/hourglass.h"

#include <QWidget>

namespace dravella::gui {

void ShowHourglass(QWidget& window) { window.setCursor(Qt::WaitCursor); }

void ShowDefaultPointer(QWidget& window) { window.unsetCursor(); }

HourglassScope::HourglassScope(QWidget& window) : window_(window) { ShowHourglass(window_); }

HourglassScope::~HourglassScope() { ShowDefaultPointer(window_); }

}  // namespace dravella::gui
