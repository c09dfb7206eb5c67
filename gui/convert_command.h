// The Convert command on the main window: Command6 and the menu item Separate
// run it. The batch itself is core::ConvertCommand; this side reads the
// window's controls, shows the messages and keeps the status line and the
// progress bar visibly up to date without handling any user input.
#pragma once

#include "core/output_naming.h"

namespace dravella::gui {

class Form1;

// Converts the ticked workbooks of form's workbook list into the output
// folder named in Combo5, as the command's rules say.
void RunConvertCommand(Form1& form);

// The naming state of the window program: SheetCounter lives on from one
// workbook to the next, and past a failed workbook into the next batch.
core::OutputNaming& ProgramOutputNaming();

}  // namespace dravella::gui
