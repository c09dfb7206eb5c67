// The outcome of an engine step: ok, or an error number with a description.
//
// Parsing and writing code returns these instead of throwing; the object
// model turns a failed Status into an AutomationError at its boundary.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

#include "error_codes.h"

namespace dravella::engine {

class Status {
 public:
  Status() = default;  // ok
  static Status Ok() { return Status(); }
  static Status Error(ErrorCode code, std::string description) {
    Status s;
    s.code_ = code;
    s.description_ = std::move(description);
    return s;
  }

  bool ok() const { return code_ == ErrorCode::kNone; }
  ErrorCode code() const { return code_; }
  int32_t number() const { return static_cast<int32_t>(code_); }
  const std::string& description() const { return description_; }

 private:
  ErrorCode code_ = ErrorCode::kNone;
  std::string description_;
};

// A value, or the Status that explains why there is none.
template <typename T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit on purpose
  Result(Status status) : status_(std::move(status)) { assert(!status_.ok()); }  // NOLINT

  bool ok() const { return value_.has_value(); }
  const Status& status() const { return status_; }
  T& value() & { return *value_; }
  const T& value() const& { return *value_; }
  T&& value() && { return std::move(*value_); }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }

 private:
  std::optional<T> value_;
  Status status_;
};

}  // namespace dravella::engine
