// What happens when the user or the system interrupts the process: SIGINT or
// SIGTERM on POSIX systems; Ctrl+C, Ctrl+Break, a closed console, a logoff or
// a shutdown on Windows. One source file per platform.
#pragma once

#include <filesystem>

namespace dravella::platform {

// The characters of the file system's own paths.
using PathChar = std::filesystem::path::value_type;

// Calls cleanup when the process is interrupted, then ends the process with
// the status of an interrupted program (by the signal on POSIX systems,
// STATUS_CONTROL_C_EXIT on Windows), never that of a success. Installed once; later calls do
// nothing. cleanup may only use calls that are safe in a signal handler,
// RemoveFileNow among them.
void CallOnInterrupt(void (*cleanup)());

// Removes the file at path; safe inside cleanup.
void RemoveFileNow(const PathChar* path);

}  // namespace dravella::platform
