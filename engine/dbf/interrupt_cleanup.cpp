#include "engine/dbf/interrupt_cleanup.h"

#include <atomic>
#include <cstring>
#include <string>

namespace dravella::engine::dbf {
namespace {

using platform::PathChar;

// A save holds at most a table, a memo and a code-page file at once; a few
// more slots leave room for saves on several threads.
constexpr int kSlots = 16;
constexpr size_t kLongestPath = 4096;

struct Slot {
  std::atomic<bool> claimed{false};  // owned by a save
  std::atomic<bool> used{false};     // path complete: the cleanup may remove it
  PathChar path[kLongestPath];
};

Slot slots[kSlots];

// Runs when the process is interrupted: only calls safe in a signal handler.
void RemoveListed() {
  for (Slot& slot : slots) {
    if (slot.used.load(std::memory_order_acquire)) platform::RemoveFileNow(slot.path);
  }
}

}  // namespace

void RemoveTempFilesOnInterrupt() { platform::CallOnInterrupt(RemoveListed); }

int ListTempFile(const PathChar* path) {
  const size_t length = std::char_traits<PathChar>::length(path);
  if (length >= kLongestPath) return -1;
  for (int i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (!slots[i].claimed.compare_exchange_strong(expected, true)) continue;
    std::memcpy(slots[i].path, path, (length + 1) * sizeof(PathChar));
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
