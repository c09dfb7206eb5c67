#include "gui/qt_dialog_system.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <cstring>

#include "dialogs/filter_list.h"
#include "dialogs/text_buffer.h"
#include "gui/qstring_convert.h"

namespace dravella::gui {
namespace {

using namespace dravella::dialogs;

QColor FromColorRef(std::uint32_t value) {
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::uint32_t ToColorRef(const QColor& colour) {
  return static_cast<std::uint32_t>(colour.red()) |
         (static_cast<std::uint32_t>(colour.green()) << 8) |
         (static_cast<std::uint32_t>(colour.blue()) << 16);
}

// Writes text and its NUL into a buffer of capacity bytes; false (buffer
// untouched) when it does not fit, as the Windows calls refuse a short buffer.
bool CopyToBuffer(const std::string& text, char* buffer, std::uint32_t capacity) {
  if (buffer == nullptr || text.size() + 1 > capacity) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

// A chosen path longer than the buffer is refused with a reason, never
// dropped without a word.
void ShowPathTooLong(QWidget* owner, const std::string& path, std::uint32_t capacity) {
  QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                  QStringLiteral("The path is %1 bytes long; at most %2 bytes can be used:\n%3")
                      .arg(path.size())
                      .arg(capacity - 1)
                      .arg(PathToQString(path)),
                  QMessageBox::Ok, owner);
  box.setObjectName(QStringLiteral("PathTooLong"));
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

// "Text (*.txt)" with patterns "*.txt;*.text" as Qt's "Text (*.txt) (*.txt *.text)";
// the dialog is told to hide the trailing pattern list again.
QString QtNameFilter(const FileFilter& filter) {
  QString patterns = ToQString(filter.patterns);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  return ToQString(filter.description) + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

// The initial file of the Open dialog: its buffer up to the NUL, without the
// blanks that pad it.
QString InitialFile(const OpenFileNameRecord& record) {
  if (record.lpstrFile == nullptr) return QString();
  std::string text = UpToFirstNul(record.lpstrFile, record.nMaxFile);
  const std::size_t last = text.find_last_not_of(' ');
  text.erase(last == std::string::npos ? 0 : last + 1);
  return PathToQString(text);
}

// QFontDialog has no switch for its effects group (underline, strike-out);
// without CF_EFFECTS it is hidden: it is the group that holds check boxes.
void HideEffectsGroup(QFontDialog& dialog) {
  for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
    if (!group->findChildren<QCheckBox*>().isEmpty()) group->hide();
  }
}

}  // namespace

QtDialogSystem::QtDialogSystem() = default;
QtDialogSystem::~QtDialogSystem() = default;

int QtDialogSystem::RunFileDialog(OpenFileNameRecord& record, bool save) {
  QFileDialog dialog(WidgetOf(record.hwndOwner));
  dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
  const bool has_title = record.lpstrTitle != nullptr && record.lpstrTitle[0] != '\0';
  dialog.setWindowTitle(has_title ? ToQString(record.lpstrTitle)
                                  : (save ? QFileDialog::tr("Save As") : QFileDialog::tr("Open")));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode((record.Flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                              : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, (record.Flags & OFN_OVERWRITEPROMPT) == 0);
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);

  QStringList name_filters;
  for (const FileFilter& filter : ReadFilterList(record.lpstrFilter)) {
    name_filters << QtNameFilter(filter);
  }
  if (!name_filters.isEmpty()) {
    dialog.setNameFilters(name_filters);
    const int index = record.nFilterIndex == 0 ? 0 : static_cast<int>(record.nFilterIndex) - 1;
    dialog.selectNameFilter(name_filters.value(index, name_filters.first()));
  }
  if (record.lpstrInitialDir != nullptr && record.lpstrInitialDir[0] != '\0') {
    dialog.setDirectory(PathToQString(record.lpstrInitialDir));
  }
  const QString initial_file = InitialFile(record);
  if (!initial_file.isEmpty()) dialog.selectFile(initial_file);
  if (record.lpstrDefExt != nullptr && record.lpstrDefExt[0] != '\0') {
    dialog.setDefaultSuffix(ToQString(record.lpstrDefExt));
  }

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return 0;
  const QString chosen = QDir::toNativeSeparators(dialog.selectedFiles().first());
  // Paths go on as the file system's bytes.
  const std::string full_path = PathFromQString(chosen);
  const std::string name = PathFromQString(QFileInfo(chosen).fileName());
  if (!CopyToBuffer(full_path, record.lpstrFile, record.nMaxFile)) {
    ShowPathTooLong(WidgetOf(record.hwndOwner), full_path, record.nMaxFile);
    return 0;
  }
  if (record.lpstrFileTitle != nullptr) CopyToBuffer(name, record.lpstrFileTitle, record.nMaxFileTitle);
  record.nFileOffset = static_cast<std::uint16_t>(full_path.size() - name.size());
  const std::size_t dot = name.rfind('.');
  record.nFileExtension = static_cast<std::uint16_t>(
      dot == std::string::npos ? full_path.size() : record.nFileOffset + dot + 1);
  return 1;
}

int QtDialogSystem::GetOpenFileName(OpenFileNameRecord& record) {
  return RunFileDialog(record, false);
}

int QtDialogSystem::GetSaveFileName(OpenFileNameRecord& record) {
  return RunFileDialog(record, true);
}

bool QtDialogSystem::BrowseForFolder(const BrowseInfoRecord& info, char* path_buffer) {
  QFileDialog dialog(WidgetOf(info.hwndOwner));
  dialog.setObjectName(QStringLiteral("FolderDialog"));
  const bool has_title = info.lpszTitle != nullptr && info.lpszTitle[0] != '\0';
  dialog.setWindowTitle(has_title ? ToQString(info.lpszTitle) : QFileDialog::tr("Select Folder"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::Directory);
  // Only folders are offered (BIF_RETURNONLYFSDIRS: every folder here is one).
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  if (info.pidlRoot == nullptr) dialog.setDirectory(QDir::homePath());

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const std::string folder = PathFromQString(QDir::toNativeSeparators(dialog.selectedFiles().first()));
  // A path too long for the buffer leaves it without a NUL: no usable path.
  if (!CopyToBuffer(folder, path_buffer, kMaxPath)) ShowPathTooLong(WidgetOf(info.hwndOwner), folder, kMaxPath);
  return true;
}

int QtDialogSystem::ChooseColor(ChooseColorRecord& record) {
  const QColor initial = (record.Flags & CC_RGBINIT) != 0 ? FromColorRef(record.rgbResult)
                                                          : QColor(Qt::white);
  // Qt keeps one table of custom colours; it is loaded from the record and
  // given back to it, as the Windows dialog does with lpCustColors.
  if (record.lpCustColors != nullptr) {
    for (int i = 0; i < kCustomColorCount && i < QColorDialog::customCount(); ++i) {
      QColorDialog::setCustomColor(i, FromColorRef(record.lpCustColors[i]));
    }
  }
  // Qt's dialog always shows its custom-colour part; CC_FULLOPEN changes nothing.
  QColorDialog dialog(initial, WidgetOf(record.hwndOwner));
  dialog.setObjectName(QStringLiteral("ColorDialog"));
  const bool accepted = dialog.exec() == QDialog::Accepted;
  if (record.lpCustColors != nullptr) {
    for (int i = 0; i < kCustomColorCount && i < QColorDialog::customCount(); ++i) {
      record.lpCustColors[i] = ToColorRef(QColorDialog::customColor(i));
    }
  }
  if (!accepted) return 0;
  record.rgbResult = ToColorRef(dialog.selectedColor());
  return 1;
}

int QtDialogSystem::ChooseFont(ChooseFontRecord& record) {
  const int dots_per_inch = ScreenLogPixelsY();
  QFont initial = QGuiApplication::font();
  LogFontRecord* font = record.lpLogFont;
  if (font != nullptr && (record.Flags & CF_INITTOLOGFONTSTRUCT) != 0) {
    const std::string face = UpToFirstNul(font->lfFaceName, kFaceNameSize);
    if (!face.empty()) initial.setFamilies({ToQString(face)});
    if (font->lfHeight != 0 && dots_per_inch > 0) {
      // A negative height is the character height in screen units.
      const int height = font->lfHeight < 0 ? -font->lfHeight : font->lfHeight;
      initial.setPointSizeF(height * 72.0 / dots_per_inch);
    }
    initial.setBold(font->lfWeight >= FW_BOLD);
    initial.setItalic(font->lfItalic != 0);
    initial.setUnderline(font->lfUnderline != 0);
  }

  QFontDialog dialog(initial, WidgetOf(record.hwndOwner));
  dialog.setObjectName(QStringLiteral("FontDialog"));
  dialog.setOption(QFontDialog::DontUseNativeDialog, true);
  if ((record.Flags & CF_EFFECTS) == 0) HideEffectsGroup(dialog);
  if (dialog.exec() != QDialog::Accepted) return 0;

  const QFont chosen = dialog.selectedFont();
  const qreal points = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : 0;
  record.iPointSize = static_cast<std::int32_t>(qRound(points * 10));
  std::uint16_t type = SCREEN_FONTTYPE;
  if (chosen.bold()) type |= BOLD_FONTTYPE;
  if (chosen.italic()) type |= ITALIC_FONTTYPE;
  if (!chosen.bold() && !chosen.italic()) type |= REGULAR_FONTTYPE;
  record.nFontType = type;
  if (font != nullptr) {
    const std::string face = CutToBytes(ToUtf8(chosen.family()), kFaceNameSize - 1);
    std::memset(font->lfFaceName, 0, kFaceNameSize);
    std::memcpy(font->lfFaceName, face.data(), face.size());
    font->lfHeight = -qRound(points * dots_per_inch / 72.0);
    font->lfWeight = chosen.bold() ? FW_BOLD : 400;
    font->lfItalic = chosen.italic() ? 1 : 0;
    if ((record.Flags & CF_EFFECTS) != 0) font->lfUnderline = chosen.underline() ? 1 : 0;
  }
  return 1;
}

int QtDialogSystem::PrintDlg(PrintDlgRecord& record) {
  QPrinter printer;
  QPrintDialog dialog(&printer, WidgetOf(record.hwndOwner));
  dialog.setObjectName(QStringLiteral("PrintDialog"));
  if ((record.Flags & PD_NOSELECTION) != 0) dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  if ((record.Flags & PD_NOPAGENUMS) != 0) dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  if ((record.Flags & PD_HIDEPRINTTOFILE) != 0) dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

int QtDialogSystem::ScreenLogPixelsY() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen == nullptr ? 96 : qRound(screen->logicalDotsPerInchY());
}

std::optional<std::string> QtDialogSystem::DefaultPrinterName() {
  const QString name = QPrinterInfo::defaultPrinterName();
  if (name.isEmpty()) return std::nullopt;
  return ToUtf8(name);
}

DeviceContext QtDialogSystem::DefaultPrinterContext() {
  if (!default_printer_) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return 0;
    default_printer_ = std::make_unique<QPrinter>(info);
  }
  return reinterpret_cast<DeviceContext>(default_printer_.get());
}

int QtDialogSystem::OpenPrinter(const std::string& name, PrinterHandle* printer,
                                const PrinterDefaultsRecord&) {
  const QPrinterInfo info = QPrinterInfo::printerInfo(ToQString(name));
  if (info.isNull() || printer == nullptr) return 0;
  *printer = next_printer_++;
  open_printers_[*printer] = info;
  return 1;
}

int QtDialogSystem::PrinterProperties(WindowHandle owner, PrinterHandle printer) {
  const auto found = open_printers_.find(printer);
  if (found == open_printers_.end()) return 0;
  QPrinter device(found->second);
  QPageSetupDialog dialog(&device, WidgetOf(owner));
  dialog.setObjectName(QStringLiteral("PrinterProperties"));
  return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

int QtDialogSystem::ClosePrinter(PrinterHandle printer) {
  return open_printers_.erase(printer) == 1 ? 1 : 0;
}

InstanceHandle QtDialogSystem::ProgramInstance() {
  return reinterpret_cast<InstanceHandle>(QCoreApplication::instance());
}

std::string QtDialogSystem::ProgramFolder() {
  return ToUtf8(QCoreApplication::applicationDirPath());
}

}  // namespace dravella::gui
