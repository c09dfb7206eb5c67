// Two halves of one job at once, on a machine with a second core: a large
// table is planned and formatted on two threads. Each half works on its own
// state; the caller combines them afterwards, so the outcome is the same as
// one thread's, byte for byte.
#pragma once

#include <functional>

namespace dravella::engine::dbf {

// Whether a second thread can run beside this one at the same time.
bool HasSecondCore();

// Runs here() on this thread and there() on a second one, and returns true
// when both are done. Without a second core, or when no thread can be
// started, runs neither and returns false: the caller does the job on one
// thread (the halves may wait for each other). Neither may throw.
bool RunSideBySide(const std::function<void()>& here, const std::function<void()>& there);

}  // namespace dravella::engine::dbf
