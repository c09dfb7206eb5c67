#include "gui/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <string>

#include "gui/fonts.h"
#include "gui/link_label.h"
#include "gui/program_title.h"
#include "gui/twips.h"

namespace dravella::gui {
namespace {

template <typename Widget>
Widget* Place(Widget* widget, const char* name, const QRect& geometry) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  return widget;
}

}  // namespace

AboutBox::AboutBox(core::ShellOpener& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
  setObjectName(QStringLiteral("Dialog1"));
  setWindowTitle(QStringLiteral("About us"));
  setFont(ArialFont(kWindowFontPoints));
  setFixedSize(TwipsToPixels(4908), TwipsToPixels(4116));

  Label1 = Place(new QLabel(QString::fromLatin1(kProgramTitle), this), "Label1",
                 TwipsRect(840, 240, 2055, 255));
  QFont title_font = ArialFont(kButtonFontPoints);
  title_font.setBold(true);
  Label1->setFont(title_font);
  Label4 = Place(new QLabel(QStringLiteral("Version:") + QString::fromLatin1(kProgramVersion), this),
                 "Label4", TwipsRect(840, 480, 1455, 255));

  Frame1 = Place(new QFrame(this), "Frame1", TwipsRect(240, 960, 4450, 1090));
  Frame1->setFrameShape(QFrame::Box);
  Frame1->setFrameShadow(QFrame::Sunken);
  Label3 = Place(new QLabel(QStringLiteral("Technical Support:"), Frame1), "Label3",
                 TwipsRect(120, 240, 1690, 250));
  Label2 = Place(new LinkLabel(QString::fromLatin1(kMakerSupportMail), Frame1), "Label2",
                 TwipsRect(1800, 240, 2290, 250));
  Label7 = Place(new QLabel(QStringLiteral(" Website:"), Frame1), "Label7",
                 TwipsRect(120, 480, 850, 250));
  // The link shows the address without its scheme; a click opens it whole.
  const QString web_text = QUrl(QString::fromLatin1(kMakerHomePage)).host();
  Label8 = Place(new LinkLabel(web_text, Frame1), "Label8",
                 TwipsRect(1800, 480, 1930, 250));
  Label6 = Place(new QLabel(QStringLiteral("Copyright (C) 2026 The Dravella makers"), Frame1),
                 "Label6", TwipsRect(120, 720, 3135, 255));

  Label5 = Place(new QLabel(QStringLiteral(
                                "Warning: this program is protected by copyright law. "
                                "Copying or distributing it, or any part of it, without "
                                "the maker's permission is not allowed and may be "
                                "prosecuted."),
                            this),
                 "Label5", TwipsRect(120, 2280, 4695, 1095));
  Label5->setWordWrap(true);
  Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  OKButton = Place(new QPushButton(QStringLiteral("OK"), this), "OKButton",
                   TwipsRect(120, 3600, 1215, 375));
  OKButton->setDefault(true);

  connect(Label2, &LinkLabel::clicked, this, &AboutBox::Label2Click);
  connect(Label8, &LinkLabel::clicked, this, &AboutBox::Label8Click);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::Label2Click() {
  shell_.Open(std::string("mailto:") + kMakerSupportMail, core::kShowMaximized);
}

void AboutBox::Label8Click() { shell_.Open(kMakerHomePage, core::kShowDefault); }

}  // namespace dravella::gui
