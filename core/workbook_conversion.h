// The one conversion of a workbook into dBASE tables that both programs run:
// open the workbook, save each chosen worksheet under its table name in the
// workbook's folder, close it, and tell what happened. What the programs do
// differently (which worksheets, their names, progress, keeping existing
// tables) reaches the loop through ConversionHost and ConversionSettings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/output_naming.h"
#include "engine/object_model.h"

namespace dravella::core {

// The program's side of the loop.
class ConversionHost {
 public:
  virtual ~ConversionHost() = default;
  // The worksheet count is known, before the first worksheet.
  virtual void WorksheetCountKnown(int32_t count) { (void)count; }
  // Whether worksheet `number` is converted, and the name its table is named
  // after. Called once per worksheet, in order.
  virtual bool ChooseWorksheet(int32_t number, engine::Worksheet& sheet, std::string& name) = 0;
  // The loop is done with worksheet `number`, saved or not.
  virtual void WorksheetDone(int32_t number) { (void)number; }
};

struct ConversionSettings {
  int naming_mode = kNamePlain;
  std::string book_name;
  int32_t file_format = engine::kFileFormatDbase3;
  // Set on the application before the workbook is opened, when given.
  std::optional<std::string> code_page;
  // Worksheets whose table already exists are skipped.
  bool keep_existing = false;
};

// A table that was written with characters the code page cannot hold.
struct ReplacedCharacters {
  std::string worksheet;
  std::string table;  // the table's path
  int64_t count = 0;
};

struct ConversionReport {
  bool converted = false;     // worked through to its end
  std::string worksheet;      // the worksheet that failed, when one did
  std::string reason;         // why it failed
  std::vector<std::string> tables;  // paths of the tables written
  std::vector<ReplacedCharacters> replaced;
};

// Converts the workbook at `path` into `folder`. A table never replaces one
// written earlier by the same call: the later one takes the first free name
// with _2, _3 ... (letter case aside). Names too long for the folder are cut
// at a character boundary. On an error the workbook is closed and the
// application quit; tables already written stay. SheetCounter of naming goes
// back to 0 only after a workbook that was worked through.
ConversionReport ConvertWorkbookInto(const std::string& path, const std::string& folder,
                                     const ConversionSettings& settings, ConversionHost& host,
                                     engine::ApplicationFactory& applications,
                                     OutputNaming& naming);

// The table name for base name `base` in a folder whose names are at most
// `longest` bytes: base + suffix + ".dbf", the base cut at a character
// boundary so that the name and its memo and code-page companions fit.
std::string TableFileName(std::string_view base, std::string_view suffix, size_t longest);

}  // namespace dravella::core
