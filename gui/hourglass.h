// The busy pointer over one window while a command lists or converts.
//
// It is the window's own cursor, set and reset, never a stack of application
// override cursors, so one reset always returns to the default pointer even
// when the command ended early.
#pragma once

class QWidget;

namespace dravella::gui {

void ShowHourglass(QWidget& window);
void ShowDefaultPointer(QWidget& window);

// Shows the hourglass for a scope and the default pointer when it ends,
// also when it ends by an exception.
class HourglassScope {
 public:
  explicit HourglassScope(QWidget& window);
  ~HourglassScope();
  HourglassScope(const HourglassScope&) = delete;
  HourglassScope& operator=(const HourglassScope&) = delete;

 private:
  QWidget& window_;
};

}  // namespace dravella::gui
