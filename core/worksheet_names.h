// Reads the worksheet list of one workbook through a fresh instance of the
// spreadsheet application, for the desktop program's sheet browser.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/object_model.h"

namespace dravella::core {

// Creates the application, opens the workbook at path, turns alerts off and
// hands each worksheet's number (from 1, in the workbook's order) and name to
// on_name; then closes the workbook and quits the application. Nothing but
// the worksheet list is read.
//
// Failures (the application cannot be created, the workbook cannot be opened
// or read, or on_name throws) close the workbook if it was opened and quit the
// application if it was created, then rethrow the first error unchanged
// (engine::AutomationError from the application). Errors while cleaning up
// are dropped: the first failure is the one to report.
void ReadWorksheetNames(engine::ApplicationFactory& factory, const std::string& path,
                        const std::function<void(int32_t number, const std::string& name)>& on_name);

}  // namespace dravella::core
