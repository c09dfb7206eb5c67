#include "engine/dbf/side_by_side.h"

#include <system_error>
#include <thread>

namespace dravella::engine::dbf {

bool HasSecondCore() { return std::thread::hardware_concurrency() >= 2; }

bool RunSideBySide(const std::function<void()>& here, const std::function<void()>& there) {
  if (!HasSecondCore()) return false;
  std::thread second;
  try {
    second = std::thread(there);
  } catch (const std::system_error&) {
    return false;  // no thread to be had (a process at its limit)
  }
  here();
  second.join();
  return true;
}

}  // namespace dravella::engine::dbf
