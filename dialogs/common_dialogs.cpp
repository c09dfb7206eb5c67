#include "dialogs/common_dialogs.h"

#include <array>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "core/path_join.h"
#include "dialogs/filter_list.h"
#include "dialogs/mul_div.h"
#include "dialogs/text_buffer.h"

namespace dravella::dialogs {
namespace {

constexpr char kSeparator = core::kPathSeparator;

// The Open dialog's buffers hold kMaxPath characters and their terminator.
constexpr std::uint32_t kOpenBufferChars = kMaxPath;
// The Save dialog's buffers hold 256 NULs; the dialog may fill 255 of them.
constexpr std::uint32_t kSaveBufferChars = 256;

constexpr std::uint32_t kOpenFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_LONGNAMES;
constexpr std::uint32_t kSaveFlags = OFN_HIDEREADONLY | OFN_LONGNAMES;
constexpr std::uint32_t kFolderFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
constexpr std::uint32_t kFontFlags =
    CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT | CF_FORCEFONTEXIST;
constexpr std::uint32_t kPrintFlags = PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE;
constexpr std::uint32_t kPrinterAccess = STANDARD_RIGHTS_REQUIRED | PRINTER_ACCESS_USE;

// The folder part of a full path: everything before its last separator.
std::string FolderOf(const std::string& full_path) {
  const std::size_t separator = full_path.rfind(kSeparator);
  return separator == std::string::npos ? std::string() : full_path.substr(0, separator);
}

std::string WithoutBlanks(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if (c != ' ') kept += c;
  }
  return kept;
}

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(' ') == std::string::npos;
}

// A listing of the folder that includes hidden entries finds something
// exactly when the folder exists.
bool FolderExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace

CCommonDialogs::CCommonDialogs(DialogSystem& system) : system_(system) {}

std::string CCommonDialogs::Title() const { return UpToFirstNul(title_); }
std::string CCommonDialogs::Path() const { return UpToFirstNul(path_); }
std::string CCommonDialogs::FileTitle() const { return UpToFirstNul(file_title_); }
std::string CCommonDialogs::FileName() const { return UpToFirstNul(file_name_); }

bool CCommonDialogs::ShowOpen() {
  if (file_name_.size() > kOpenBufferChars) {
    throw std::invalid_argument("FileName is longer than " + std::to_string(kOpenBufferChars) +
                                " bytes");
  }
  // Only workbooks are offered; the Filter property plays no part here.
  const std::string filter = NulSeparatedFilter("Excel files(*.xls)|*.xls");

  // The initial file name padded with blanks to kMaxPath bytes, then the
  // terminator; the file-title buffer is kMaxPath blanks.
  std::vector<char> file(kOpenBufferChars + 1, ' ');
  file_name_.copy(file.data(), file_name_.size());
  file.back() = '\0';
  std::vector<char> file_title(kOpenBufferChars + 1, ' ');
  file_title.back() = '\0';

  OpenFileNameRecord record;
  record.lStructSize = kOpenFileNameSize;
  record.hwndOwner = owner_;
  record.hInstance = system_.ProgramInstance();
  record.lpstrFilter = filter.c_str();
  record.nFilterIndex = 0;
  record.lpstrFile = file.data();
  record.nMaxFile = kOpenBufferChars + 1;
  record.lpstrFileTitle = file_title.data();
  record.nMaxFileTitle = kOpenBufferChars + 1;
  record.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  record.Flags = kOpenFlags;
  record.lpstrDefExt = def_ext_.empty() ? nullptr : def_ext_.c_str();

  if (system_.GetOpenFileName(record) <= 0) return false;
  file_title_.assign(file_title.data(), kOpenBufferChars);
  file_name_ = UpToFirstNul(file.data(), kOpenBufferChars);
  path_ = FolderOf(file_name_);
  return true;
}

bool CCommonDialogs::ShowSave() {
  // The initial folder, settled through the Path property so that the caller
  // sees it even when the dialog is cancelled.
  if (IsBlank(Path())) {
    SetPath(system_.ProgramFolder());
  } else {
    if (Path().back() != kSeparator) SetPath(Path() + kSeparator);
    if (!FolderExists(Path())) SetPath(system_.ProgramFolder());
  }
  const std::string initial_folder = Path();

  const std::string filter =
      NulSeparatedFilter(WithoutBlanks(filter_).empty() ? std::string("*.*|*.*") : filter_);

  std::vector<char> file(kSaveBufferChars + 1, '\0');
  std::vector<char> file_title = file;

  OpenFileNameRecord record;
  record.lStructSize = kOpenFileNameSize;
  record.hwndOwner = owner_;
  record.hInstance = system_.ProgramInstance();
  record.lpstrFilter = filter.c_str();
  record.nFilterIndex = 1;
  record.lpstrFile = file.data();
  record.nMaxFile = kSaveBufferChars - 1;
  record.lpstrFileTitle = file_title.data();
  record.nMaxFileTitle = kSaveBufferChars;
  record.lpstrInitialDir = initial_folder.c_str();
  record.lpstrTitle = "Save";
  // No OFN_OVERWRITEPROMPT: an existing file is chosen without a question.
  record.Flags = kSaveFlags;
  record.lpstrDefExt = "";

  if (system_.GetSaveFileName(record) <= 0) return false;
  file_title_.assign(file_title.data(), kSaveBufferChars);
  file_name_.assign(file.data(), kSaveBufferChars - 1);
  path_ = FolderOf(FileName());
  return true;
}

bool CCommonDialogs::ShowFolder() {
  BrowseInfoRecord info;
  info.hwndOwner = owner_;
  info.lpszTitle = title_.c_str();
  info.ulFlags = kFolderFlags;

  std::vector<char> path(kMaxPath, ' ');
  if (!system_.BrowseForFolder(info, path.data())) return false;
  // A chosen item without a file-system path leaves the buffer without a NUL;
  // that counts as nothing chosen rather than a path of blanks.
  const std::string chosen = UpToFirstNul(path.data(), path.size());
  if (chosen.size() == path.size()) return false;
  path_ = chosen;
  file_name_.clear();
  file_title_.clear();
  return true;
}

bool CCommonDialogs::ShowColor(bool full_open) {
  // Custom colours are not kept from one call to the next.
  std::array<std::uint32_t, kCustomColorCount> custom_colors{};

  ChooseColorRecord record;
  record.lStructSize = kChooseColorSize;
  record.hwndOwner = owner_;
  record.rgbResult = static_cast<std::uint32_t>(color_);
  record.lpCustColors = custom_colors.data();
  record.Flags = CC_RGBINIT | (full_open ? CC_FULLOPEN : 0);

  if (system_.ChooseColor(record) == 0) return false;
  color_ = static_cast<std::int32_t>(record.rgbResult);
  return true;
}

bool CCommonDialogs::ShowFont() {
  // A step that fails is skipped and the next one runs; nothing escapes.
  LogFontRecord font;
  const std::string face = CutToBytes(UpToFirstNul(font_name_), kFaceNameSize - 1);
  face.copy(font.lfFaceName, face.size());
  font.lfItalic = font_italic_ ? 1 : 0;
  font.lfUnderline = font_underline_ ? 1 : 0;
  font.lfWeight = font_bold_ ? FW_BOLD : 0;
  try {
    // A size in points as a character height in screen units, negated.
    font.lfHeight = -MulDiv(font_size_, system_.ScreenLogPixelsY(), 72);
  } catch (...) {
  }

  ChooseFontRecord record;
  record.lStructSize = kChooseFontSize;
  record.hwndOwner = owner_;
  try {
    record.hDC = system_.DefaultPrinterContext();
  } catch (...) {
    record.hDC = 0;
  }
  record.lpLogFont = &font;
  record.iPointSize = 0;
  // No CF_EFFECTS: the dialog offers no underline, strike-out or colour.
  record.Flags = kFontFlags;
  record.rgbColors = static_cast<std::uint32_t>(color_);

  int answer = 0;
  try {
    answer = system_.ChooseFont(record);
  } catch (...) {
    answer = 0;
  }
  if (answer == 0) return false;
  font_name_ = UpToFirstNul(font.lfFaceName, kFaceNameSize);
  font_bold_ = (record.nFontType & BOLD_FONTTYPE) != 0;
  font_italic_ = (record.nFontType & ITALIC_FONTTYPE) != 0;
  font_size_ = static_cast<std::int16_t>(record.iPointSize / 10);
  return true;
}

bool CCommonDialogs::ShowPrinter() {
  PrintDlgRecord record;
  record.lStructSize = kPrintDlgSize;
  record.hwndOwner = owner_;
  record.Flags = kPrintFlags;
  return system_.PrintDlg(record) != 0;
}

bool CCommonDialogs::ShowPrinterProperties() {
  int last_result = 0;
  try {
    const std::optional<std::string> name = system_.DefaultPrinterName();
    if (!name) return false;
    PrinterDefaultsRecord defaults;
    defaults.DesiredAccess = kPrinterAccess;
    PrinterHandle printer = 0;
    last_result = system_.OpenPrinter(*name, &printer, defaults);
    if (last_result != 0) {
      try {
        last_result = system_.PrinterProperties(owner_, printer);
      } catch (...) {
      }
      system_.ClosePrinter(printer);
    }
  } catch (...) {
  }
  return last_result != 0;
}

}  // namespace dravella::dialogs
