// Asking the desktop to open a file, folder or address with its default program.
//
// The programs reach the desktop's opener only through this interface, so that
// tests can record the requests and another platform can plug in its own call.
#pragma once

#include <string>

namespace dravella::core {

// Show modes as the Windows shell numbers them; other platforms may ignore them.
enum ShowMode : int { kShowNormal = 1, kShowMaximized = 3, kShowDefault = 5 };

class ShellOpener {
 public:
  virtual ~ShellOpener() = default;
  // Hands target to the desktop's opener; true when the request was made.
  virtual bool Open(const std::string& target, int show_mode) = 0;
};

// The platform's opener: xdg-open on Linux, started detached; ShellExecuteW
// on Windows.
ShellOpener& SystemShellOpener();

}  // namespace dravella::core
