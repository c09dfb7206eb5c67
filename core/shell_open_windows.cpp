#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include "core/shell_open.h"
#include "engine/platform/wide_text.h"

namespace dravella::core {
namespace {

// ShellExecuteW with the verb "open": a folder opens in Explorer, a file or
// address in its default program. Shell extensions may need COM, started
// once for the process.
class ShellExecuteOpener final : public ShellOpener {
 public:
  bool Open(const std::string& target, int show_mode) override {
    if (target.empty()) return false;
    const std::wstring wide_target = platform::WideFromUtf8(target);
    if (wide_target.empty()) return false;
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    (void)com;
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", wide_target.c_str(), nullptr, nullptr, show_mode);
    // Values above 32 mean success.
    return reinterpret_cast<INT_PTR>(result) > 32;
  }
};

}  // namespace

ShellOpener& SystemShellOpener() {
  static ShellExecuteOpener opener;
  return opener;
}

}  // namespace dravella::core
