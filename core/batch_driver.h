// The whole run of dravbatch after its command line was accepted: convert one
// workbook, or every .xls workbook of one folder, then open the output folder
// when asked. Nothing is shown on success; each failure, and each table that
// had to write characters as '?', is told to the run's reporter.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/command_line.h"
#include "core/output_naming.h"
#include "core/shell_open.h"
#include "core/workbook_conversion.h"
#include "engine/object_model.h"

namespace dravella::core {

// Slots 0 to 10000: the workbooks of the run in the order they are converted.
inline constexpr size_t kWorkbookListSlots = 10001;

struct WorkbookList {
  std::array<std::string, kWorkbookListSlots> slots;
  int32_t WorkbookCount = 0;
  void Clear();
};

// Hears why a run did not go through, one call per failure.
class BatchReporter {
 public:
  virtual ~BatchReporter() = default;
  // worksheet is empty when the failure is the workbook's (or the input's).
  virtual void Failed(const std::string& workbook, const std::string& worksheet,
                      const std::string& reason) = 0;
  virtual void CharactersReplaced(const std::string& workbook, const ReplacedCharacters& table) = 0;
};

// "book.xls: reason", or "book.xls, worksheet \"Data\": reason".
std::string FailureLine(const std::string& workbook, const std::string& worksheet,
                        const std::string& reason);
// The warning for a table written with characters its code page cannot hold.
std::string ReplacedCharactersLine(const std::string& workbook, const ReplacedCharacters& table);

// What the run needs from outside: the application factory, the desktop's
// opener, the naming state (with SheetCounter) of the program and, when
// given, the reporter of failures.
struct BatchContext {
  engine::ApplicationFactory& applications;
  ShellOpener& shell;
  OutputNaming& naming;
  BatchReporter* reporter = nullptr;

  void Fail(const std::string& workbook, const std::string& worksheet, const std::string& reason) {
    if (reporter != nullptr) reporter->Failed(workbook, worksheet, reason);
  }
  void Replaced(const std::string& workbook, const ReplacedCharacters& table) {
    if (reporter != nullptr) reporter->CharactersReplaced(workbook, table);
  }
};

enum class BatchOutcome {
  kAllConverted,   // every workbook of the run was converted (also: none found)
  kSomeFailed,     // a workbook failed or the run stopped early
};

BatchOutcome RunBatch(const RunOptions& options, BatchContext& context);

// Fills list with the .xls files of folder (not its subfolders), in the order
// the file system lists them. False on an error or when more workbooks are
// found than the list holds; reason (when given) then says which.
bool CollectWorkbooks(const std::string& folder, WorkbookList& list, std::string* reason = nullptr);

// The file name of an existing workbook without folder and last extension,
// trailing blanks cut; empty when the path names no existing file.
std::string WorkbookBaseName(const std::string& path);

// Converts every worksheet of one workbook into target_folder. False when the
// file does not exist or the conversion failed half-way; the reporter hears why.
bool ConvertWorkbookFile(const std::string& path, const std::string& target_folder,
                         const RunOptions& options, BatchContext& context);

// The name the file system reports for an existing, visible regular file
// (its last path component); empty otherwise.
std::string ExistingFileName(const std::string& path);

}  // namespace dravella::core
