#include "error_codes.h"

#include <array>

namespace dravella::engine {
namespace {

constexpr std::array kErrorTable = {
    ErrorInfo{ErrorCode::kNone, "kNone", "no error"},
    ErrorInfo{ErrorCode::kFileNotFound, "kFileNotFound", "the file does not exist"},
    ErrorInfo{ErrorCode::kFileUnreadable, "kFileUnreadable", "the file cannot be read"},
    ErrorInfo{ErrorCode::kNotAWorkbook, "kNotAWorkbook", "the file is not an .xls workbook"},
    ErrorInfo{ErrorCode::kTruncated, "kTruncated", "the workbook is truncated"},
    ErrorInfo{ErrorCode::kDamaged, "kDamaged", "the workbook is damaged"},
    ErrorInfo{ErrorCode::kEncrypted, "kEncrypted", "the workbook is encrypted"},
    ErrorInfo{ErrorCode::kUnsupportedVersion, "kUnsupportedVersion",
              "the workbook's BIFF version is not supported"},
    ErrorInfo{ErrorCode::kTooLarge, "kTooLarge", "the workbook is too large"},
    ErrorInfo{ErrorCode::kServerUnavailable, "kServerUnavailable",
              "the spreadsheet application cannot be started"},
    ErrorInfo{ErrorCode::kBadIndex, "kBadIndex", "subscript out of range"},
    ErrorInfo{ErrorCode::kBadFileFormat, "kBadFileFormat", "unknown file format code"},
    ErrorInfo{ErrorCode::kBadAddress, "kBadAddress", "invalid cell address"},
    ErrorInfo{ErrorCode::kNotOpen, "kNotOpen", "the object is closed"},
    ErrorInfo{ErrorCode::kBadCodePage, "kBadCodePage", "unknown code page"},
    ErrorInfo{ErrorCode::kTooManyFields, "kTooManyFields", "too many fields for the dBASE level"},
    ErrorInfo{ErrorCode::kRecordTooLong, "kRecordTooLong", "record too long for the dBASE level"},
    ErrorInfo{ErrorCode::kTooManyRecords, "kTooManyRecords",
              "too many records for the dBASE level"},
    ErrorInfo{ErrorCode::kWriteFailed, "kWriteFailed", "the table cannot be written"},
    ErrorInfo{ErrorCode::kBadTargetPath, "kBadTargetPath", "the target path is not usable"},
};

}  // namespace

std::span<const ErrorInfo> AllErrorCodes() { return kErrorTable; }

const ErrorInfo& ErrorCodeInfo(ErrorCode code) {
  for (const ErrorInfo& row : kErrorTable) {
    if (row.code == code) return row;
  }
  return kErrorTable[0];
}

}  // namespace dravella::engine
