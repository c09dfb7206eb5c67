// The outcome of an engine step: ok, or an error number with a description.
//
// Parsing and writing code returns these instead of throwing; the object
// model turns a failed Status into an AutomationError at its boundary.
#pragma once

#include <cassert>
#include <memory>
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
    if (code != ErrorCode::kNone) s.error_ = std::make_unique<Details>(Details{code, std::move(description)});
    return s;
  }
  Status(const Status& other) : error_(other.error_ ? std::make_unique<Details>(*other.error_) : nullptr) {}
  Status& operator=(const Status& other) {
    if (this != &other) error_ = other.error_ ? std::make_unique<Details>(*other.error_) : nullptr;
    return *this;
  }
  Status(Status&&) noexcept = default;
  Status& operator=(Status&&) noexcept = default;

  bool ok() const { return error_ == nullptr; }
  ErrorCode code() const { return error_ ? error_->code : ErrorCode::kNone; }
  int32_t number() const { return static_cast<int32_t>(code()); }
  const std::string& description() const {
    static const std::string kNone;
    return error_ ? error_->description : kNone;
  }

 private:
  // Only a failure carries anything, so passing an ok Status around (once
  // per record of a workbook) costs no more than passing a pointer.
  struct Details {
    ErrorCode code;
    std::string description;
  };
  std::unique_ptr<Details> error_;
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
