// Large fresh buffers mapped in on a second thread while this one fills
// them (see platform::PrefaultForWriting): the page faults of a first write
// are paid beside the work instead of in it.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <thread>

namespace dravella::engine::xls {

class Prefault {
 public:
  Prefault() = default;
  ~Prefault() { Wait(); }
  Prefault(const Prefault&) = delete;
  Prefault& operator=(const Prefault&) = delete;

  // Starts mapping in the buffers when together they are large enough to be
  // worth a thread and a second core can run it; else does nothing. A buffer
  // must not move or be freed before Wait().
  void Start(std::initializer_list<std::span<std::byte>> buffers);
  // Returns once the mapping is done (at once when none was started).
  void Wait() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

// The unused room of a vector or string, as a span of bytes for Start.
template <typename Container>
std::span<std::byte> SpareRoom(Container& c) {
  using Element = typename Container::value_type;
  return {reinterpret_cast<std::byte*>(c.data() + c.size()), (c.capacity() - c.size()) * sizeof(Element)};
}

}  // namespace dravella::engine::xls
