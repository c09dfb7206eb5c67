// An .xls workbook opened for reading: its worksheet list at once, each
// worksheet's cells the first time they are asked for.
//
// Reads BIFF2 to BIFF8: compound files (a "Workbook" or "Book" stream) and
// bare BIFF2-4 worksheet and workbook files. Everything handed out is UTF-8.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/cell.h"
#include "engine/status.h"
#include "engine/xls/sheet_data.h"

namespace dravella::engine {

namespace xls {
class ByteSource;
struct WorkbookGlobals;
}

class WorkbookFile {
 public:
  static Result<std::unique_ptr<WorkbookFile>> Open(const std::filesystem::path& path);
  // For tests and fuzzing: the bytes of a file; display_name names it in errors
  // and gives the single worksheet's name of BIFF2-4 worksheet files.
  static Result<std::unique_ptr<WorkbookFile>> OpenBytes(std::vector<uint8_t> bytes, std::string display_name);

  ~WorkbookFile();
  WorkbookFile(const WorkbookFile&) = delete;
  WorkbookFile& operator=(const WorkbookFile&) = delete;

  size_t worksheet_count() const;
  const std::string& worksheet_name(size_t index) const;  // 0-based, UTF-8; "" out of range
  Result<const SheetData*> worksheet(size_t index);       // reads cells on first call, then cached
  // Frees the cached cells of a worksheet; a later worksheet() reads them again.
  void release_worksheet(size_t index);
  DateSystem date_system() const;

 private:
  WorkbookFile();
  Status Load();
  Status FindStream();

  std::string display_name_;
  std::vector<uint8_t> owned_bytes_;         // OpenBytes: the file's bytes
  std::unique_ptr<xls::ByteSource> file_;    // the file, read at offsets while the workbook is open
  std::vector<uint8_t> held_stream_;         // a stream kept whole: one in the mini stream or without container
  std::unique_ptr<xls::ByteSource> stream_;  // the BIFF records: pieces of file_, or held_stream_
  bool stream_in_file_ = false;
  std::vector<uint8_t> globals_bytes_;       // the stream up to the end of its globals, when in the file
  std::unique_ptr<xls::WorkbookGlobals> globals_;
  std::vector<std::unique_ptr<SheetData>> sheets_;
  std::vector<std::optional<Status>> sheet_errors_;
};

}  // namespace dravella::engine
