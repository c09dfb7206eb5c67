#include "core/shell_open.h"

#include <spawn.h>
#include <sys/wait.h>

#include <vector>

extern char** environ;

namespace dravella::core {
namespace {

// Starts xdg-open in the background of a short-lived shell: the shell exits
// at once, so the opener is re-parented and never left as our zombie, and the
// target travels as an argument, never through the shell's parser.
class XdgOpener final : public ShellOpener {
 public:
  bool Open(const std::string& target, int /*show_mode*/) override {
    if (target.empty()) return false;
    std::vector<char*> argv = {
        const_cast<char*>("sh"), const_cast<char*>("-c"),
        const_cast<char*>("xdg-open \"$1\" >/dev/null 2>&1 </dev/null &"),
        const_cast<char*>("sh"), const_cast<char*>(target.c_str()), nullptr};
    pid_t shell = 0;
    if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) {
      return false;
    }
    int status = 0;
    if (waitpid(shell, &status, 0) < 0) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
};

}  // namespace

ShellOpener& SystemShellOpener() {
  static XdgOpener opener;
  return opener;
}

}  // namespace dravella::core
