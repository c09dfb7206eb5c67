#include "gui/form1.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <string>

#include "core/path_kind.h"
#include "gui/about_box.h"
#include "gui/convert_command.h"
#include "gui/fonts.h"
#include "gui/icons.h"
#include "gui/input_list.h"
#include "gui/picture_button.h"
#include "gui/program_title.h"
#include "gui/qstring_convert.h"
#include "gui/saved_lists.h"
#include "gui/setting_dialog.h"
#include "gui/sheet_browser.h"
#include "gui/twips.h"
#include "gui/user_guide.h"

namespace dravella::gui {
namespace {

constexpr const char* kListNotSavedText = "The list could not be saved: ";

constexpr int kClientWidthTwips = 8880;
constexpr int kClientHeightTwips = 8100;

constexpr QSize kLargePicture(48, 48);
constexpr QSize kSmallPicture(32, 32);

const char* const kNamingDescriptions[] = {
    "DBF Filename will be based on sheet name",
    "DBF Filename will be based on workbook name and sheet name ",
    "DBF Filename will be 1.dbf,2.dbf,3.dbf,4.dbf,5.dbf....",
};
const char* const kDbfLevels[] = {"DBF4(dBASE IV)", "DBF3(dBASE III)", "DBF2(dBASE II)"};

template <typename Widget>
Widget* Place(Widget* widget, const char* name, const QRect& geometry) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  return widget;
}

PictureButton* MakePictureButton(QWidget* client, const char* name, const char* caption,
                                 const char* picture, QSize picture_size, const QRect& geometry) {
  auto* button = new PictureButton(ProgramIcon(QString::fromLatin1(picture)), picture_size,
                                   QString::fromLatin1(caption), client);
  button->setFont(ArialFont(kButtonFontPoints));
  return Place(button, name, geometry);
}

QTreeWidget* MakeList(QWidget* client, const char* name, const char* header, int column_twips,
                      const QRect& geometry) {
  auto* list = Place(new QTreeWidget(client), name, geometry);
  list->setColumnCount(1);
  list->setHeaderLabels({QString::fromLatin1(header)});
  list->headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
  list->header()->setStretchLastSection(false);
  list->header()->setSectionsMovable(false);
  list->setColumnWidth(0, TwipsToPixels(column_twips));
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  return list;
}

QLabel* MakeLabel(QWidget* client, const char* name, const char* caption, const QRect& geometry) {
  auto* label = Place(new QLabel(QString::fromLatin1(caption), client), name, geometry);
  label->setFocusPolicy(Qt::NoFocus);
  // Names and messages shown here are never markup.
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

Form1::Form1(const WindowServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
  setObjectName(QStringLiteral("form1"));
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setWindowIcon(ProgramIcon(QStringLiteral("dbf_table")));
  // A fixed single border: minimize and close, no maximize, no resizing.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(ArialFont(kWindowFontPoints));

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
  setCentralWidget(client);
  ImageList1 = new ImageList(this);

  CreateButtons(client);
  CreateListsAndChoices(client);
  CreateMenus();
  SetFocusOrder();
  SetAccessibleNames();
  ConnectCommands();
  // The window takes exactly the size of its menu bar and client area.
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  LoadForm();
  Command1->setFocus();
  // The window's message boxes stand over it.
  services_.messages.SetOwner(this);
}

Form1::~Form1() { services_.messages.SetOwner(nullptr); }

void Form1::CreateButtons(QWidget* client) {
  Command1 = MakePictureButton(client, "Command1", "Add Excel", "add_workbook", kLargePicture,
                               TwipsRect(120, 0, 1210, 975));
  Command5 = MakePictureButton(client, "Command5", "Add Folder", "folder", kLargePicture,
                               TwipsRect(1440, 0, 1210, 975));
  Command2 = MakePictureButton(client, "Command2", "Remove File", "remove", kSmallPicture,
                               TwipsRect(2760, 0, 1330, 975));
  Command6 = MakePictureButton(client, "Command6", "Convert", "dbf_table", kLargePicture,
                               TwipsRect(4320, 0, 1090, 975));
  Command8 = MakePictureButton(client, "Command8", "Help", "help", kSmallPicture,
                               TwipsRect(5520, 0, 970, 975));
  Command7 = MakePictureButton(client, "Command7", "HomePage", "globe", kLargePicture,
                               TwipsRect(6600, 0, 1095, 975));
  Command9 = MakePictureButton(client, "Command9", "Exit", "exit", kSmallPicture,
                               TwipsRect(7800, 0, 970, 975));
  Command3 = MakePictureButton(client, "Command3", "", "arrow_up", kSmallPicture,
                               TwipsRect(8400, 1440, 370, 610));
  Command4 = MakePictureButton(client, "Command4", "", "arrow_down", kSmallPicture,
                               TwipsRect(8400, 2280, 370, 610));
  Command3->setToolTip(QStringLiteral("Up"));
  Command4->setToolTip(QStringLiteral("Down"));

  Command10 = Place(new QPushButton(QStringLiteral("Browse"), client), "Command10",
                    TwipsRect(6840, 7440, 975, 325));
  Command11 = Place(new QPushButton(QStringLiteral("View"), client), "Command11",
                    TwipsRect(7920, 7440, 855, 325));
  Command10->setFont(ArialFont(kButtonFontPoints));
  Command11->setFont(ArialFont(kButtonFontPoints));
  for (QPushButton* button : {static_cast<QPushButton*>(Command1), static_cast<QPushButton*>(Command5),
                              static_cast<QPushButton*>(Command2), static_cast<QPushButton*>(Command6),
                              static_cast<QPushButton*>(Command8), static_cast<QPushButton*>(Command7),
                              static_cast<QPushButton*>(Command9), static_cast<QPushButton*>(Command3),
                              static_cast<QPushButton*>(Command4), Command10, Command11}) {
    button->setAutoDefault(false);
  }
}

void Form1::CreateListsAndChoices(QWidget* client) {
  ListView1 = MakeList(client, "ListView1", "Please Select the Excel File or Folder to Convert",
                       7750, TwipsRect(120, 1080, 8180, 2650));
  ListView1->setIconSize(ImageList::kImageSize);

  Label3 = MakeLabel(client, "Label3", "Format:", TwipsRect(120, 3840, 610, 250));
  Combo2 = Place(new QComboBox(client), "Combo2", TwipsRect(840, 3840, 1810, 330));
  Label2 = MakeLabel(client, "Label2", "Name:", TwipsRect(2760, 3840, 490, 260));
  Combo1 = Place(new QComboBox(client), "Combo1", TwipsRect(3360, 3840, 4930, 330));

  ListView2 = MakeList(client, "ListView2", "WorkBooks", 3630, TwipsRect(120, 4200, 4095, 2775));
  ListView3 = MakeList(client, "ListView3", "WorkSheets", 3600, TwipsRect(4320, 4200, 3975, 2775));
  // Worksheet labels are edited in place: the new label names the output file.
  ListView3->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);

  Label1 = MakeLabel(client, "Label1", "", TwipsRect(120, 7080, 8535, 255));
  Label1->setFont(ArialFont(kButtonFontPoints));
  Label7 = MakeLabel(client, "Label7", "Select  output directory:", TwipsRect(120, 7440, 1935, 255));
  Label7->setFont(ArialFont(kButtonFontPoints));
  Combo5 = Place(new QComboBox(client), "Combo5", TwipsRect(2160, 7440, 4575, 330));
  Combo5->setEditable(true);
  // A typed directory stays in the text field; only Browse adds entries.
  Combo5->setInsertPolicy(QComboBox::NoInsert);
  // What the user typed is what Convert uses: the saved entries are offered
  // in a popup and never replace the text by themselves, and a match ignoring
  // case is no match (/data/REPORTS is not /data/Reports on this system).
  auto* completer = new QCompleter(Combo5->model(), Combo5);
  completer->setCaseSensitivity(Qt::CaseSensitive);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  Combo5->setCompleter(completer);

  ProgressBar1 = Place(new QProgressBar(client), "ProgressBar1", TwipsRect(120, 7800, 8655, 255));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setFocusPolicy(Qt::NoFocus);
}

void Form1::CreateMenus() {
  auto add_menu = [this](const char* name, const char* caption) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
  };
  auto add_item = [](QMenu* menu, const char* name, const char* caption) {
    QAction* item = menu->addAction(QString::fromLatin1(caption));
    item->setObjectName(QString::fromLatin1(name));
    return item;
  };
  menuBar()->setObjectName(QStringLiteral("menuBar"));
  EE = add_menu("EE", "File");
  AddExcel = add_item(EE, "AddExcel", "Add Excel");
  AddFolder = add_item(EE, "AddFolder", "Add Folder");
  FF = add_menu("FF", "Edit");
  RemoveItem = add_item(FF, "RemoveItem", "Remove Item");
  RemoveAll = add_item(FF, "RemoveAll", "Remove All Items");
  Removeoutput = add_item(FF, "Removeoutput", "Remove Current Output Directory");
  RemoveAllOutput = add_item(FF, "RemoveAllOutput", "Remove All Output Directory");
  Actions = add_menu("Actions", "Actions");
  Separate = add_item(Actions, "Separate", "Convert");
  Settings = add_item(Actions, "Settings", "Settings");
  Help = add_menu("Help", "Help");
  Help1 = add_item(Help, "Help1", "Help");
  HomePage = add_item(Help, "HomePage", "HomePage");
  About = add_item(Help, "About", "About");
}

void Form1::SetFocusOrder() {
  const QWidget* order[] = {Command1, Command5, Command2, Command6, Command8, Command7,
                            Command9, ListView1, Combo1, ListView2, ListView3, Command3,
                            Command4, Combo2, Combo5, Command10, Command11};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
    setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
  }
}

void Form1::SetAccessibleNames() {
  // Screen readers name each control by its caption or its label.
  for (PictureButton* button : {Command1, Command5, Command2, Command6, Command8, Command7, Command9}) {
    button->setAccessibleName(button->text());
  }
  Command3->setAccessibleName(QStringLiteral("Move up"));
  Command4->setAccessibleName(QStringLiteral("Move down"));
  Command10->setAccessibleName(QStringLiteral("Browse"));
  Command11->setAccessibleName(QStringLiteral("View"));
  for (QTreeWidget* list : {ListView1, ListView2, ListView3}) {
    list->setAccessibleName(list->headerItem()->text(0));
  }
  Combo2->setAccessibleName(QStringLiteral("Format"));
  Combo1->setAccessibleName(QStringLiteral("Name"));
  Combo5->setAccessibleName(QStringLiteral("Output directory"));
  Label1->setAccessibleName(QStringLiteral("Status"));
  ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
  Label3->setBuddy(Combo2);
  Label2->setBuddy(Combo1);
  Label7->setBuddy(Combo5);
}

void Form1::ConnectCommands() {
  // Buttons run their click operations; the wrapping lambdas keep the
  // operations virtual and free of the clicked(bool) argument.
  connect(Command1, &QPushButton::clicked, this, [this] { Command1Click(); });
  connect(Command5, &QPushButton::clicked, this, [this] { Command5Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3Click(); });
  connect(Command4, &QPushButton::clicked, this, [this] { Command4Click(); });
  connect(Command6, &QPushButton::clicked, this, [this] { Command6Click(); });
  connect(Command7, &QPushButton::clicked, this, [this] { Command7Click(); });
  connect(Command8, &QPushButton::clicked, this, [this] { Command8Click(); });
  connect(Command9, &QPushButton::clicked, this, [this] { Command9Click(); });
  connect(Command10, &QPushButton::clicked, this, [this] { Command10Click(); });
  connect(Command11, &QPushButton::clicked, this, [this] { Command11Click(); });

  // Menu items that stand for a button call that button's operation.
  connect(AddExcel, &QAction::triggered, this, [this] { Command1Click(); });
  connect(AddFolder, &QAction::triggered, this, [this] { Command5Click(); });
  connect(RemoveItem, &QAction::triggered, this, [this] { Command2Click(); });
  connect(RemoveAll, &QAction::triggered, this, [this] { RemoveAllClick(); });
  connect(Removeoutput, &QAction::triggered, this, [this] { RemoveoutputClick(); });
  connect(RemoveAllOutput, &QAction::triggered, this, [this] { RemoveAllOutputClick(); });
  connect(Separate, &QAction::triggered, this, [this] { Command6Click(); });
  connect(Settings, &QAction::triggered, this, [this] { SettingsClick(); });
  connect(Help1, &QAction::triggered, this, [this] { Command8Click(); });
  connect(HomePage, &QAction::triggered, this, [this] { Command7Click(); });
  connect(About, &QAction::triggered, this, [this] { AboutClick(); });

  // Delete in the input list removes the chosen input, as Remove File does.
  auto* remove_input = new QShortcut(QKeySequence::Delete, ListView1, nullptr, nullptr,
                                     Qt::WidgetWithChildrenShortcut);
  remove_input->setObjectName(QStringLiteral("DeleteInput"));
  connect(remove_input, &QShortcut::activated, this, [this] { Command2Click(); });

  FollowCurrentEntries();
}

void Form1::FollowCurrentEntries() {
  // The lists follow the current entry however it changes (mouse, arrows,
  // Home/End, type-ahead, dragging, the program); a click on the entry that
  // already was current runs the click operation as well.
  ListView1->viewport()->installEventFilter(this);
  ListView2->viewport()->installEventFilter(this);
  connect(ListView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    if (rebuilding_ > 0 || current == nullptr || current == listed_input_) return;
    ListView1ItemClick();
  });
  connect(ListView2, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    if (rebuilding_ > 0 || current == nullptr) return;
    ListView2ItemClick();
  });
  connect(ListView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (item == current_at_press_[0]) ListView1ItemClick();
  });
  connect(ListView2, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (item == current_at_press_[1]) ListView2ItemClick();
  });
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    if (watched == ListView1->viewport()) current_at_press_[0] = ListView1->currentItem();
    if (watched == ListView2->viewport()) current_at_press_[1] = ListView2->currentItem();
  }
  return QMainWindow::eventFilter(watched, event);
}

void Form1::LoadForm() {
  // The saved lists: input entries get their picture by what each path names now.
  // Paths are the file system's bytes, shown as well as they decode.
  const SavedLists saved = RestoreLists(services_.settings_folder);
  for (const std::string& path : saved.inputs) {
    QTreeWidgetItem* entry = NewPathEntry(path);
    entry->setIcon(0, ImageList1->Image(InputImageForPathKind(core::PathKind(path))));
    ListView1->addTopLevelItem(entry);
  }
  for (const std::string& folder : saved.outputs) {
    Combo5->addItem(PathToQString(folder), QByteArray::fromStdString(folder));
  }
  if (Combo5->count() > 0) Combo5->setCurrentIndex(0);

  // The choices always start on their first entry, whatever the last run chose.
  for (const char* description : kNamingDescriptions) Combo1->addItem(QString::fromLatin1(description));
  Combo1->setCurrentIndex(0);
  for (const char* level : kDbfLevels) Combo2->addItem(QString::fromLatin1(level));
  Combo2->setCurrentIndex(0);

}

void Form1::UnloadForm() {
  SavedLists lists;
  for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
    lists.inputs.push_back(PathOfEntry(ListView1->topLevelItem(i)));
  }
  for (int i = 0; i < Combo5->count(); ++i) {
    const QByteArray bytes = Combo5->itemData(i).toByteArray();
    lists.outputs.push_back(bytes.isEmpty() ? PathFromQString(Combo5->itemText(i))
                                            : bytes.toStdString());
  }
  // A list that could not be written is named, so the user knows it is lost.
  for (const std::filesystem::path& file : SaveLists(services_.settings_folder, lists)) {
    services_.messages.Show(std::string(kListNotSavedText) + file.string(), MessageIcon::kCritical);
  }
}

void Form1::closeEvent(QCloseEvent* event) {
  UnloadForm();
  event->accept();
}

// The commands on the input and output lists are in input_list.cpp, the
// click in the workbook list in sheet_browser.cpp.
void Form1::Command6Click() {
  // A rename still being typed counts, whichever way Convert was chosen.
  CommitOpenEditor();
  RunConvertCommand(*this);
}

void Form1::Command7Click() {
  // The shell's answer is not examined: a failure shows nothing of ours.
  services_.shell.Open(kMakerHomePage, core::kShowDefault);
}

void Form1::Command8Click() {
  // Without a guide Help does nothing, as the opener of a missing file would.
  const std::filesystem::path guide = UserGuideFor(services_.program_folder);
  if (guide.empty()) return;
  services_.shell.Open(guide.string(), core::kShowDefault);
}

void Form1::Command9Click() { close(); }

void Form1::SettingsClick() {
  // Modal and without an owner, as designed.
  SettingDialog dialog(services_.settings_folder);
  dialog.exec();
}

void Form1::AboutClick() {
  AboutBox dialog(services_.shell);
  dialog.exec();
}

}  // namespace dravella::gui
