#include "core/convert_batch.h"

#include <exception>

#include "core/output_entries.h"
#include "core/output_naming.h"
#include "core/path_kind.h"

namespace dravella::core {
namespace {

// Status line, progress bar and pointer go back to rest however Run ends.
class ResetWindowAtEnd {
 public:
  explicit ResetWindowAtEnd(ConvertWindow& window) : window_(window) {}
  ~ResetWindowAtEnd() {
    window_.SetStatusLine("");
    window_.SetProgressValue(0);
    window_.ShowDefaultPointer();
  }
  ResetWindowAtEnd(const ResetWindowAtEnd&) = delete;
  ResetWindowAtEnd& operator=(const ResetWindowAtEnd&) = delete;

 private:
  ConvertWindow& window_;
};

}  // namespace

std::string WorkbookFailedText(const std::string& short_name) {
  return "Convert " + short_name + " file failed!";
}

std::string WorkbookShortName(const std::string& entry_text) {
  return RemoveBlanksAndDots(CutBeforeLastDot(entry_text));
}

bool ConvertCommand::PrepareOutputFolder() {
  const std::string text = window_.OutputText();
  const bool typed = window_.OutputEntryIndex() == -1;
  OutputRoot = text;
  if (text.empty()) {
    window_.ShowMessage(kNoOutputFolderText, BoxIcon::kInformation);
    return false;
  }
  // A folder picked from the list is never created: it was removed meanwhile.
  if (!IsExistingFolder(text) && !typed) {
    window_.ShowMessage(kFolderMissingText, BoxIcon::kCritical);
    return false;
  }
  while (!OutputRoot.empty() && IsPathSeparator(OutputRoot.back())) OutputRoot.pop_back();
  // A text of separators only names the root folder, which exists.
  const std::string folder = OutputRoot.empty() ? std::string(1, kPathSeparator) : OutputRoot;
  if (!IsExistingFolder(folder) && typed && !CreateOneFolder(folder)) {
    window_.ShowMessage(kFolderNotCreatedText, BoxIcon::kCritical);
    return false;
  }
  OutputRoot += kPathSeparator;
  return true;
}

void ConvertCommand::Run() {
  ResetWindowAtEnd reset(window_);
  const int32_t count = window_.WorkbookCount();
  if (count < 1) {
    window_.ShowMessage(kNothingListedText, BoxIcon::kInformation);
    return;
  }
  if (!PrepareOutputFolder()) return;
  window_.SaveSheetChoices();
  window_.ShowHourglass();
  for (int32_t i = 1; i <= count; ++i) {
    if (window_.IsWorkbookTicked(i)) ConvertTicked(i);
  }
  // Also when nothing was ticked or every workbook failed; the answer is
  // not examined.
  shell_.Open(OutputRoot, kShowDefault);
}

void ConvertCommand::ConvertTicked(int32_t workbook) {
  WorkbookOutputFolder = OutputRoot;
  const std::string short_name = WorkbookShortName(window_.WorkbookEntryText(workbook));
  window_.SetStatusLine("Convert " + short_name);
  WorkbookOutputFolder += short_name;
  // Suffixes pile up: Book, Book1, Book12, Book123 ...
  int32_t suffix = 0;
  while (IsExistingFolder(WorkbookOutputFolder)) {
    ++suffix;
    WorkbookOutputFolder += std::to_string(suffix);
  }
  // A folder that cannot be made (a file of that name, missing rights) fails
  // this workbook only; the batch goes on.
  if (!CreateOneFolder(WorkbookOutputFolder)) {
    window_.ShowMessage(WorkbookFailedText(short_name), BoxIcon::kCritical);
    return;
  }
  if (ConvertWorkbook(window_, context_, workbook, WorkbookOutputFolder) != kWorkbookConverted) {
    window_.ShowMessage(WorkbookFailedText(short_name), BoxIcon::kCritical);
  }
}

}  // namespace dravella::core
