// CCommonDialogs: the standard dialogs behind a property-and-method interface.
//
// A caller creates one object for one command, gives it the owner window with
// Init, sets the properties a dialog reads, calls one Show operation and reads
// what the dialog filled in when it returned true. Each Show call builds its
// records afresh from the current properties and hands them to the
// DialogSystem; the object never shows anything itself.
#pragma once

#include <cstdint>
#include <string>

#include "dialogs/dialog_records.h"
#include "dialogs/dialog_system.h"

namespace dravella::dialogs {

class CCommonDialogs {
 public:
  explicit CCommonDialogs(DialogSystem& system);
  CCommonDialogs(const CCommonDialogs&) = delete;
  CCommonDialogs& operator=(const CCommonDialogs&) = delete;

  // Every set stores its argument unchanged. The gets of Title, Path,
  // FileTitle and FileName return the text up to its first NUL.
  void SetFontUnderline(bool value) { font_underline_ = value; }
  bool FontUnderline() const { return font_underline_; }
  void SetFontItalic(bool value) { font_italic_ = value; }
  bool FontItalic() const { return font_italic_; }
  void SetFontBold(bool value) { font_bold_ = value; }
  bool FontBold() const { return font_bold_; }
  void SetFontSize(std::int16_t points) { font_size_ = points; }
  std::int16_t FontSize() const { return font_size_; }
  void SetFontName(const std::string& value) { font_name_ = value; }
  const std::string& FontName() const { return font_name_; }
  // An RGB value: red in the low byte, then green, then blue.
  void SetColor(std::int32_t value) { color_ = value; }
  std::int32_t Color() const { return color_; }
  void SetDefExt(const std::string& value) { def_ext_ = value; }
  const std::string& DefExt() const { return def_ext_; }
  void SetTitle(const std::string& value) { title_ = value; }
  std::string Title() const;
  void Init(WindowHandle owner_form) { owner_ = owner_form; }
  void SetPath(const std::string& value) { path_ = value; }
  std::string Path() const;
  void SetFileTitle(const std::string& value) { file_title_ = value; }
  std::string FileTitle() const;
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& value) { filter_ = value; }
  std::string FileName() const;
  void SetFileName(const std::string& value) { file_name_ = value; }

  // Print dialog without selection, page numbers or print-to-file.
  bool ShowPrinter();
  // Folder browser titled by Title; sets Path and empties FileName and FileTitle.
  bool ShowFolder();
  // Colour picker preset to Color; full_open expands the custom-colour part.
  bool ShowColor(bool full_open);
  // Font picker preset from the Font properties; never throws.
  bool ShowFont();
  // Open dialog for one existing "*.xls" file, starting from FileName. Throws
  // std::invalid_argument, before any dialog, when FileName is longer than
  // kMaxPath bytes.
  bool ShowOpen();
  // The default printer's property sheet; false when there is no printer.
  // Never throws.
  bool ShowPrinterProperties();
  // Save dialog with Filter, starting in Path (or the program's folder).
  bool ShowSave();

 private:
  DialogSystem& system_;
  std::string file_title_;
  std::string path_;
  std::string filter_;
  std::string file_name_;
  std::int32_t color_ = 0;
  std::string title_;
  WindowHandle owner_ = nullptr;
  std::string def_ext_;
  std::string font_name_;
  std::int16_t font_size_ = 0;
  bool font_bold_ = false;
  bool font_italic_ = false;
  bool font_underline_ = false;
};

}  // namespace dravella::dialogs
