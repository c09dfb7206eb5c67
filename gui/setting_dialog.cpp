#include "gui/setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "engine/code_pages.h"
#include "gui/fonts.h"
#include "gui/saved_lists.h"

namespace dravella::gui {

SettingDialog::SettingDialog(const std::filesystem::path& settings_folder, QWidget* parent)
    : QDialog(parent), settings_folder_(settings_folder) {
  setObjectName(QStringLiteral("Setting"));
  setWindowTitle(QStringLiteral("Setting"));
  setFont(ArialFont(kWindowFontPoints));

  // The classic caption ended in a line break that only spaced the two boxes;
  // the layout spaces them here, so the tick box stays level with its text.
  Check1 = new QCheckBox(QStringLiteral("Automatically save the current file"), this);
  Check1->setObjectName(QStringLiteral("Check1"));
  Check2 = new QCheckBox(QStringLiteral("Automatically save the output directory"), this);
  Check2->setObjectName(QStringLiteral("Check2"));
  CodePageLabel = new QLabel(QStringLiteral("Code page of the tables"), this);
  CodePageLabel->setObjectName(QStringLiteral("CodePageLabel"));
  CodePageCombo = new QComboBox(this);
  CodePageCombo->setObjectName(QStringLiteral("CodePageCombo"));
  for (const engine::CodePageFacts& page : engine::TableCodePages()) {
    CodePageCombo->addItem(QString::fromUtf8(page.name.data(), static_cast<qsizetype>(page.name.size())),
                           QString::fromUtf8(page.key.data(), static_cast<qsizetype>(page.key.size())));
  }
  CodePageLabel->setBuddy(CodePageCombo);
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  const QSize button_size(75, 25);
  OKButton->setFixedSize(button_size);
  CancelButton->setFixedSize(button_size);
  OKButton->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(OKButton);
  buttons->addStretch();
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 14);
  layout->addWidget(Check1);
  layout->addSpacing(8);
  layout->addWidget(Check2);
  layout->addSpacing(12);
  layout->addWidget(CodePageLabel);
  layout->addWidget(CodePageCombo);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // A box for which set.txt has no line keeps its initial state, unticked.
  const std::vector<std::string> lines = ReadLines(settings_folder_ / kSettingsFile);
  if (lines.size() > 0) Check1->setChecked(SettingLineIsOn(lines, 0));
  if (lines.size() > 1) Check2->setChecked(SettingLineIsOn(lines, 1));
  const std::string code_page = SavedTableCodePage(settings_folder_);
  CodePageCombo->setCurrentIndex(
      CodePageCombo->findData(QString::fromUtf8(code_page.data(), static_cast<qsizetype>(code_page.size()))));

  connect(OKButton, &QPushButton::clicked, this, &SettingDialog::OKButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void SettingDialog::OKButtonClick() {
  WriteSettings(settings_folder_, Check1->isChecked(), Check2->isChecked(),
                CodePageCombo->currentData().toString().toStdString());
  accept();
}

}  // namespace dravella::gui
