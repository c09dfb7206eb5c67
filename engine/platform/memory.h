// Fresh memory made ready before it is written: on a system where the first
// write to each page of a large new buffer costs a fault, a buffer that will
// be filled can be mapped in ahead, beside the work that fills it. One source
// file per platform.
#pragma once

#include <cstddef>

namespace dravella::platform {

// Maps in the whole pages of [begin, begin + bytes) as if written to,
// without changing a byte: safe while another thread writes there. Does
// nothing where the system has no such call; failures are ignored.
void PrefaultForWriting(void* begin, size_t bytes);

}  // namespace dravella::platform
