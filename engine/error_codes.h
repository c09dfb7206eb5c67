// Every error number the engine hands out, in one table.
//
// Numbers are positive, stable and never reused: callers and the programs'
// error handlers rely on "number > 0 means a real error". A new failure gets a
// new row at the end of its group.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace dravella::engine {

enum class ErrorCode : int32_t {
  kNone = 0,

  // Opening and reading a workbook file.
  kFileNotFound = 1001,
  kFileUnreadable = 1002,
  kNotAWorkbook = 1003,
  kTruncated = 1004,
  kDamaged = 1005,
  kEncrypted = 1006,
  kUnsupportedVersion = 1007,
  kTooLarge = 1008,

  // The object model.
  kServerUnavailable = 2001,
  kBadIndex = 2002,
  kBadFileFormat = 2003,
  kBadAddress = 2004,
  kNotOpen = 2005,
  kBadCodePage = 2006,

  // Saving a worksheet as a dBASE table.
  kTooManyFields = 3001,
  kRecordTooLong = 3002,
  kTooManyRecords = 3003,
  kWriteFailed = 3004,
  kBadTargetPath = 3005,
};

struct ErrorInfo {
  ErrorCode code;
  std::string_view name;     // the enumerator's name, for tests and logs
  std::string_view summary;  // a short text; descriptions add the details
};

// All rows of the table, in number order.
std::span<const ErrorInfo> AllErrorCodes();

// The row of a code; the summary of kNone for an unknown one.
const ErrorInfo& ErrorCodeInfo(ErrorCode code);

}  // namespace dravella::engine
