#include "engine/platform/memory.h"

namespace dravella::platform {

// Windows commits fresh pages on first touch too, but has no call that maps
// them in without writing them; the buffer is simply filled as it comes.
void PrefaultForWriting(void* begin, size_t bytes) {
  (void)begin;
  (void)bytes;
}

}  // namespace dravella::platform
