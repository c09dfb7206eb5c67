// Temporary files that must not outlive an interrupted run: while a table is
// written, its temporary names are listed here, and when the process is
// interrupted (Ctrl+C, SIGTERM, a closed console) the listed files are
// removed before it ends as the interruption says.
#pragma once

#include "engine/platform/interrupt.h"

namespace dravella::engine::dbf {

// Installs the handlers (once; later calls do nothing). Programs call it at
// start; without it, leftovers are removed by the next save of their table.
void RemoveTempFilesOnInterrupt();

// Lists a temporary file; returns its slot, or -1 when every slot is taken
// (the file is then left to the next save's cleanup).
int ListTempFile(const platform::PathChar* path);
// Takes a file off the list.
void UnlistTempFile(int slot);

}  // namespace dravella::engine::dbf
