#include "engine/platform/memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace dravella::platform {

void PrefaultForWriting(void* begin, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  // Whole pages only: madvise wants an aligned start.
  constexpr uintptr_t kPage = 4096;
  const auto first = (reinterpret_cast<uintptr_t>(begin) + kPage - 1) & ~(kPage - 1);
  const auto end = (reinterpret_cast<uintptr_t>(begin) + bytes) & ~(kPage - 1);
  // Linux 5.14 and later; an older kernel answers EINVAL and nothing happens.
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
  (void)begin;
  (void)bytes;
#endif
}

}  // namespace dravella::platform
