#include "engine/platform/interrupt.h"

#include <unistd.h>

#include <atomic>
#include <csignal>

namespace dravella::platform {
namespace {

std::atomic<void (*)()> interrupt_cleanup{nullptr};

// Only async-signal-safe calls here: the cleanup's, signal and raise.
extern "C" void CleanUpAndEnd(int signal_number) {
  if (void (*cleanup)() = interrupt_cleanup.load()) cleanup();
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

}  // namespace

void CallOnInterrupt(void (*cleanup)()) {
  void (*none)() = nullptr;
  if (!interrupt_cleanup.compare_exchange_strong(none, cleanup)) return;
  std::signal(SIGINT, CleanUpAndEnd);
  std::signal(SIGTERM, CleanUpAndEnd);
}

void RemoveFileNow(const PathChar* path) { ::unlink(path); }

}  // namespace dravella::platform
