// What the main window reaches outside itself: message boxes, the desktop's
// opener, the standard dialogs, and the folders of the program and of its
// saved lists. Production and tests hand in their own.
#pragma once

#include <filesystem>

#include "core/shell_open.h"
#include "dialogs/dialog_system.h"
#include "engine/object_model.h"
#include "gui/message_box.h"

namespace dravella::gui {

struct WindowServices {
  MessageBoxes& messages;
  core::ShellOpener& shell;
  dialogs::DialogSystem& dialogs;
  // The folder of the program file: Help finds the user guide from here.
  std::filesystem::path program_folder;
  // set.txt, EXCEL.txt and output.txt lie here (see SettingsFolderFor).
  std::filesystem::path settings_folder;
  // Starts the spreadsheet application that lists worksheets and converts.
  engine::ApplicationFactory& applications = engine::EngineApplicationFactory();
};

}  // namespace dravella::gui
