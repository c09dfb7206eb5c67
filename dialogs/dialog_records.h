// The records handed to the standard dialogs, field for field as the Windows
// common-dialog, shell and spooler calls define them (the ANSI forms).
//
// Handles are opaque numbers or pointers of the window system behind the
// DialogSystem interface; texts are NUL-ended byte strings in UTF-8. The size
// fields carry the sizes of the 32-bit Windows records, which is what the
// receiving system checks, not sizeof() of these mirrors.
#pragma once

#include <climits>
#include <cstdint>

namespace dravella::dialogs {

// The owner window as the window system knows it (the window program passes
// its QWidget*); null means no owner.
using WindowHandle = void*;
using InstanceHandle = std::uintptr_t;
using DeviceContext = std::uintptr_t;
using PrinterHandle = std::uintptr_t;

// The path buffers of the file and folder dialogs hold the longest path this
// platform accepts (PATH_MAX bytes with the terminator; a character outside
// ASCII takes 2 to 4 of them).
constexpr std::uint32_t kMaxPath = PATH_MAX;

// OPENFILENAMEA without the extension fields added in Windows 2000.
constexpr std::uint32_t kOpenFileNameSize = 76;
constexpr std::uint32_t OFN_HIDEREADONLY = 0x4;
constexpr std::uint32_t OFN_OVERWRITEPROMPT = 0x2;
constexpr std::uint32_t OFN_FILEMUSTEXIST = 0x1000;
constexpr std::uint32_t OFN_LONGNAMES = 0x200000;

struct OpenFileNameRecord {
  std::uint32_t lStructSize = 0;
  WindowHandle hwndOwner = nullptr;
  InstanceHandle hInstance = 0;
  // Pairs of description and pattern, each NUL-ended; an empty text ends the list.
  const char* lpstrFilter = nullptr;
  char* lpstrCustomFilter = nullptr;
  std::uint32_t nMaxCustFilter = 0;
  // 1-based position of the starting filter; 0 starts on the first one.
  std::uint32_t nFilterIndex = 0;
  // In: the initial file name; out: the chosen full path, NUL-ended.
  char* lpstrFile = nullptr;
  std::uint32_t nMaxFile = 0;
  // Out: the chosen name without its folder, NUL-ended.
  char* lpstrFileTitle = nullptr;
  std::uint32_t nMaxFileTitle = 0;
  const char* lpstrInitialDir = nullptr;
  const char* lpstrTitle = nullptr;
  std::uint32_t Flags = 0;
  std::uint16_t nFileOffset = 0;
  std::uint16_t nFileExtension = 0;
  const char* lpstrDefExt = nullptr;
  std::intptr_t lCustData = 0;
  void* lpfnHook = nullptr;
  const char* lpTemplateName = nullptr;
};

// BROWSEINFOA of the folder browser.
constexpr std::uint32_t BIF_RETURNONLYFSDIRS = 0x1;
constexpr std::uint32_t BIF_DONTGOBELOWDOMAIN = 0x2;

struct BrowseInfoRecord {
  WindowHandle hwndOwner = nullptr;
  const void* pidlRoot = nullptr;  // null: the browser starts at the desktop
  char* pszDisplayName = nullptr;
  // The instruction shown above the folder tree.
  const char* lpszTitle = nullptr;
  std::uint32_t ulFlags = 0;
  void* lpfn = nullptr;
  std::intptr_t lParam = 0;
  std::int32_t iImage = 0;
};

// CHOOSECOLORA. Colours are COLORREF values: red in the low byte.
constexpr std::uint32_t kChooseColorSize = 36;
constexpr std::uint32_t CC_RGBINIT = 0x1;
constexpr std::uint32_t CC_FULLOPEN = 0x2;
constexpr int kCustomColorCount = 16;

struct ChooseColorRecord {
  std::uint32_t lStructSize = 0;
  WindowHandle hwndOwner = nullptr;
  InstanceHandle hInstance = 0;
  std::uint32_t rgbResult = 0;
  std::uint32_t* lpCustColors = nullptr;  // kCustomColorCount entries
  std::uint32_t Flags = 0;
  std::intptr_t lCustData = 0;
  void* lpfnHook = nullptr;
  const char* lpTemplateName = nullptr;
};

// LOGFONTA: this one has the same 60 bytes on every platform.
constexpr std::uint32_t kFaceNameSize = 32;
constexpr std::int32_t FW_BOLD = 700;

struct LogFontRecord {
  std::int32_t lfHeight = 0;
  std::int32_t lfWidth = 0;
  std::int32_t lfEscapement = 0;
  std::int32_t lfOrientation = 0;
  std::int32_t lfWeight = 0;
  std::uint8_t lfItalic = 0;
  std::uint8_t lfUnderline = 0;
  std::uint8_t lfStrikeOut = 0;
  std::uint8_t lfCharSet = 0;
  std::uint8_t lfOutPrecision = 0;
  std::uint8_t lfClipPrecision = 0;
  std::uint8_t lfQuality = 0;
  std::uint8_t lfPitchAndFamily = 0;
  char lfFaceName[kFaceNameSize] = {};
};
static_assert(sizeof(LogFontRecord) == 60);

// CHOOSEFONTA.
constexpr std::uint32_t kChooseFontSize = 60;
constexpr std::uint32_t CF_SCREENFONTS = 0x1;
constexpr std::uint32_t CF_PRINTERFONTS = 0x2;
constexpr std::uint32_t CF_EFFECTS = 0x100;
constexpr std::uint32_t CF_INITTOLOGFONTSTRUCT = 0x40;
constexpr std::uint32_t CF_FORCEFONTEXIST = 0x10000;
constexpr std::uint16_t BOLD_FONTTYPE = 0x100;
constexpr std::uint16_t ITALIC_FONTTYPE = 0x200;
constexpr std::uint16_t REGULAR_FONTTYPE = 0x400;
constexpr std::uint16_t SCREEN_FONTTYPE = 0x2000;

struct ChooseFontRecord {
  std::uint32_t lStructSize = 0;
  WindowHandle hwndOwner = nullptr;
  DeviceContext hDC = 0;  // the printer whose fonts are offered; 0 for none
  LogFontRecord* lpLogFont = nullptr;
  std::int32_t iPointSize = 0;  // out: tenths of a point
  std::uint32_t Flags = 0;
  std::uint32_t rgbColors = 0;
  std::intptr_t lCustData = 0;
  void* lpfnHook = nullptr;
  const char* lpTemplateName = nullptr;
  InstanceHandle hInstance = 0;
  char* lpszStyle = nullptr;
  std::uint16_t nFontType = 0;  // out: the *_FONTTYPE bits
  std::int32_t nSizeMin = 0;
  std::int32_t nSizeMax = 0;
};

// PRINTDLGA.
constexpr std::uint32_t kPrintDlgSize = 66;
constexpr std::uint32_t PD_NOSELECTION = 0x4;
constexpr std::uint32_t PD_NOPAGENUMS = 0x8;
constexpr std::uint32_t PD_HIDEPRINTTOFILE = 0x100000;

struct PrintDlgRecord {
  std::uint32_t lStructSize = 0;
  WindowHandle hwndOwner = nullptr;
  std::uintptr_t hDevMode = 0;
  std::uintptr_t hDevNames = 0;
  DeviceContext hDC = 0;
  std::uint32_t Flags = 0;
  std::uint16_t nFromPage = 0;
  std::uint16_t nToPage = 0;
  std::uint16_t nMinPage = 0;
  std::uint16_t nMaxPage = 0;
  std::uint16_t nCopies = 0;
  InstanceHandle hInstance = 0;
  std::intptr_t lCustData = 0;
  void* lpfnPrintHook = nullptr;
  void* lpfnSetupHook = nullptr;
  const char* lpPrintTemplateName = nullptr;
  const char* lpSetupTemplateName = nullptr;
  std::uintptr_t hPrintTemplate = 0;
  std::uintptr_t hSetupTemplate = 0;
};

// PRINTER_DEFAULTSA of OpenPrinter.
constexpr std::uint32_t STANDARD_RIGHTS_REQUIRED = 0xF0000;
constexpr std::uint32_t PRINTER_ACCESS_USE = 0x8;

struct PrinterDefaultsRecord {
  const char* pDatatype = nullptr;
  const void* pDevMode = nullptr;
  std::uint32_t DesiredAccess = 0;
};

}  // namespace dravella::dialogs
