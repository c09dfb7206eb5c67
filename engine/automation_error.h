// The error every object-model call may raise: a positive number from the
// engine's error table and a description text, as the callers' error
// handlers expect them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "engine/status.h"

namespace dravella::engine {

class AutomationError : public std::runtime_error {
 public:
  AutomationError(int32_t number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  explicit AutomationError(const Status& status)
      : AutomationError(status.number(), status.description()) {}
  AutomationError(ErrorCode code, const std::string& description)
      : AutomationError(static_cast<int32_t>(code), description) {}

  int32_t number() const { return number_; }
  std::string description() const { return what(); }

 private:
  int32_t number_;
};

}  // namespace dravella::engine
