#include "engine/platform/interrupt.h"

#include <windows.h>

#include <atomic>

namespace dravella::platform {
namespace {

std::atomic<void (*)()> interrupt_cleanup{nullptr};

// Runs on a thread of its own, and ends the process itself with the status
// of an interrupted program: not every system's default handler does, and
// an interrupted run must never look like a successful one.
BOOL WINAPI CleanUpAndEnd(DWORD /*event*/) {
  if (void (*cleanup)() = interrupt_cleanup.load()) cleanup();
  ExitProcess(STATUS_CONTROL_C_EXIT);
  return TRUE;
}

}  // namespace

void CallOnInterrupt(void (*cleanup)()) {
  void (*none)() = nullptr;
  if (!interrupt_cleanup.compare_exchange_strong(none, cleanup)) return;
  SetConsoleCtrlHandler(CleanUpAndEnd, TRUE);
}

// The files being written are open with FILE_SHARE_DELETE: they go as soon
// as their last handle closes, at the latest when the process ends.
void RemoveFileNow(const PathChar* path) { DeleteFileW(path); }

}  // namespace dravella::platform
