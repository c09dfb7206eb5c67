// The Setting dialog: whether the input list and the output directories are
// written back when the program closes, and the code page Convert writes the
// tables in. Reads set.txt when it opens and writes it on OK only.
#pragma once

#include <QDialog>
#include <filesystem>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace dravella::gui {

class SettingDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SettingDialog(const std::filesystem::path& settings_folder, QWidget* parent = nullptr);

  QCheckBox* Check1;
  QCheckBox* Check2;
  QLabel* CodePageLabel;
  QComboBox* CodePageCombo;  // each entry's data is the page's key ("936")
  QPushButton* OKButton;
  QPushButton* CancelButton;

 private:
  void OKButtonClick();

  std::filesystem::path settings_folder_;
};

}  // namespace dravella::gui
