#include "engine/xls/prefault.h"

#include <system_error>
#include <vector>

#include "engine/platform/memory.h"

namespace dravella::engine::xls {

void Prefault::Start(std::initializer_list<std::span<std::byte>> buffers) {
  Wait();
  constexpr size_t kWorthIt = size_t{1} << 20;
  size_t total = 0;
  for (const auto& buffer : buffers) total += buffer.size();
  if (total < kWorthIt || std::thread::hardware_concurrency() < 2) return;
  try {
    thread_ = std::thread([spans = std::vector<std::span<std::byte>>(buffers)] {
      for (const auto& buffer : spans) platform::PrefaultForWriting(buffer.data(), buffer.size());
    });
  } catch (const std::exception&) {
    // No thread to be had (or no memory for its list): the pages are mapped
    // in as they are written.
  }
}

}  // namespace dravella::engine::xls
