#include "engine/platform/interrupt.h"

#include <windows.h>

#include <atomic>

namespace dravella::platform {
namespace {

std::atomic<void (*)()> interrupt_cleanup{nullptr};

// Runs on a thread of its own. FALSE hands the event on to the system's
// handler, which ends the process as it would have without this one.
BOOL WINAPI CleanUpAndPassOn(DWORD /*event*/) {
  if (void (*cleanup)() = interrupt_cleanup.load()) cleanup();
  return FALSE;
}

}  // namespace

void CallOnInterrupt(void (*cleanup)()) {
  void (*none)() = nullptr;
  if (!interrupt_cleanup.compare_exchange_strong(none, cleanup)) return;
  SetConsoleCtrlHandler(CleanUpAndPassOn, TRUE);
}

// The files being written are open with FILE_SHARE_DELETE: they go as soon
// as their last handle closes, at the latest when the process ends.
void RemoveFileNow(const PathChar* path) { DeleteFileW(path); }

}  // namespace dravella::platform
