// The whole run of dravbatch after its command line was accepted: convert one
// workbook, or every .xls workbook of one folder, then open the output folder
// when asked. Failures are silent; the outcome only sets the exit status.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/command_line.h"
#include "core/output_naming.h"
#include "core/shell_open.h"
#include "engine/object_model.h"

namespace dravella::core {

// Slots 0 to 10000: the workbooks of the run in the order they are converted.
inline constexpr size_t kWorkbookListSlots = 10001;

struct WorkbookList {
  std::array<std::string, kWorkbookListSlots> slots;
  int32_t WorkbookCount = 0;
  void Clear();
};

// What the run needs from outside: the application factory, the desktop's
// opener and the naming state (with SheetCounter) of the program.
struct BatchContext {
  engine::ApplicationFactory& applications;
  ShellOpener& shell;
  OutputNaming& naming;
};

enum class BatchOutcome {
  kAllConverted,   // every workbook of the run was converted (also: none found)
  kSomeFailed,     // a workbook failed or the run stopped early
};

BatchOutcome RunBatch(const RunOptions& options, BatchContext& context);

// Fills list with the .xls files of folder (not its subfolders), in the order
// the file system lists them. False on an error or when more workbooks are
// found than the list holds.
bool CollectWorkbooks(const std::string& folder, WorkbookList& list);

// The file name of an existing workbook without folder and last extension,
// trailing blanks cut; empty when the path names no existing file.
std::string WorkbookBaseName(const std::string& path);

// Converts every worksheet of one workbook into target_folder. False when the
// file does not exist or the conversion failed half-way.
bool ConvertWorkbookFile(const std::string& path, const std::string& target_folder,
                         const RunOptions& options, BatchContext& context);

// The name the file system reports for an existing, visible regular file
// (its last path component); empty otherwise.
std::string ExistingFileName(const std::string& path);

}  // namespace dravella::core
