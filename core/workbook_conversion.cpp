#include "core/workbook_conversion.h"

#include <exception>
#include <memory>
#include <set>

#include "core/output_entries.h"
#include "core/quiet_cleanup.h"
#include "core/utf8_text.h"
#include "core/worksheet_save.h"
#include "engine/automation_error.h"

namespace dravella::core {
namespace {

constexpr std::string_view kTableExtension = ".dbf";

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The names of the tables this call wrote, compared without letter case, as
// the file systems that the tables travel to compare them.
class TakenNames {
 public:
  bool IsTaken(const std::string& file_name) const { return names_.count(Key(file_name)) != 0; }
  void Take(const std::string& file_name) { names_.insert(Key(file_name)); }

 private:
  static std::string Key(const std::string& file_name) { return Utf8ToLower(file_name); }
  std::set<std::string> names_;
};

std::string FreeTableName(const std::string& base, const TakenNames& taken, size_t longest) {
  std::string name = TableFileName(base, "", longest);
  for (int n = 2; taken.IsTaken(name); ++n) {
    name = TableFileName(base, "_" + std::to_string(n), longest);
  }
  return name;
}

}  // namespace

std::string TableFileName(std::string_view base, std::string_view suffix, size_t longest) {
  const size_t room = longest > suffix.size() + kTableExtension.size()
                          ? longest - suffix.size() - kTableExtension.size()
                          : 0;
  if (base.size() > room) {
    size_t cut = room;
    while (cut > 0 && IsContinuationByte(base[cut])) --cut;
    base = base.substr(0, cut);
  }
  std::string name(base);
  name.append(suffix).append(kTableExtension);
  return name;
}

ConversionReport ConvertWorkbookInto(const std::string& path, const std::string& folder,
                                     const ConversionSettings& settings, ConversionHost& host,
                                     engine::ApplicationFactory& applications,
                                     OutputNaming& naming) {
  ConversionReport report;
  const std::string prefix = WithSeparator(folder);
  const size_t longest = LongestFileName(folder);
  TakenNames taken;

  std::shared_ptr<engine::Application> application;
  std::shared_ptr<engine::Workbook> workbook;
  try {
    application = applications.CreateObject(engine::kApplicationClass);
    if (settings.code_page) application->SetTableCodePage(*settings.code_page);
    workbook = application->WorkbooksOpen(path);
    application->SetDisplayAlerts(false);

    const int32_t count = workbook->WorksheetsCount();
    // Worksheet numbers are 16-bit: a workbook with more worksheets fails.
    if (count > INT16_MAX) {
      throw engine::AutomationError(engine::ErrorCode::kBadIndex,
                                    "The workbook has more than 32767 worksheets.");
    }
    host.WorksheetCountKnown(count);
    for (int32_t number = 1; number <= count; ++number) {
      const auto i = static_cast<int16_t>(number);
      report.worksheet.clear();
      const std::shared_ptr<engine::Worksheet> sheet = workbook->Worksheets(i);
      std::string sheet_name;
      if (host.ChooseWorksheet(number, *sheet, sheet_name)) {
        report.worksheet = sheet_name;
        // The name is made before any test, so a skipped or empty worksheet
        // still uses up its number in the numbered mode.
        const std::string base = naming.DbfBaseName(settings.naming_mode, settings.book_name, sheet_name);
        const std::string file = FreeTableName(base, taken, longest);
        const std::string target = prefix + file;
        if (!(settings.keep_existing && EntryExists(target)) &&
            SaveWorksheetAsDbf(*workbook, i, target, settings.file_format) == SaveOutcome::kSaved) {
          taken.Take(file);
          report.tables.push_back(target);
          const int64_t replaced = sheet->LastSaveReplacedCharacters();
          if (replaced > 0) report.replaced.push_back({sheet_name, target, replaced});
        }
      }
      host.WorksheetDone(number);
    }
    report.worksheet.clear();
    workbook->Close();
    application->Quit();
    naming.SheetCounter = 0;
    report.converted = true;
  } catch (const std::exception& error) {
    // Every error takes this path, also one without a positive number (a
    // lost connection to the application): leaving the application running
    // and the workbook open would help no one.
    report.reason = error.what();
    CloseQuietly(workbook.get());
    QuitQuietly(application.get());
  }
  return report;
}

}  // namespace dravella::core
