#include "engine/dbf/interrupt_cleanup.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace dravella::engine::dbf {
namespace {

// A save holds at most a table, a memo and a code-page file at once; a few
// more slots leave room for saves on several threads.
constexpr int kSlots = 16;
constexpr size_t kLongestPath = 4096;

struct Slot {
  std::atomic<bool> claimed{false};  // owned by a save
  std::atomic<bool> used{false};     // path complete: the handler may remove it
  char path[kLongestPath];
};

Slot slots[kSlots];
std::atomic<bool> installed{false};

// Only async-signal-safe calls here: unlink, signal, raise.
extern "C" void RemoveListedAndEnd(int signal_number) {
  for (Slot& slot : slots) {
    if (slot.used.load(std::memory_order_acquire)) {
#ifdef _WIN32
      std::remove(slot.path);
#else
      ::unlink(slot.path);
#endif
    }
  }
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

}  // namespace

void RemoveTempFilesOnInterrupt() {
  if (installed.exchange(true)) return;
  std::signal(SIGINT, RemoveListedAndEnd);
  std::signal(SIGTERM, RemoveListedAndEnd);
}

int ListTempFile(const char* path) {
  const size_t length = std::strlen(path);
  if (length >= kLongestPath) return -1;
  for (int i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (!slots[i].claimed.compare_exchange_strong(expected, true)) continue;
    std::memcpy(slots[i].path, path, length + 1);
    slots[i].used.store(true, std::memory_order_release);
    return i;
  }
  return -1;
}

void UnlistTempFile(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  slots[slot].used.store(false, std::memory_order_release);
  slots[slot].claimed.store(false, std::memory_order_release);
}

}  // namespace dravella::engine::dbf
