// Temporary files that must not outlive an interrupted run: while a table is
// written, its temporary names are listed here, and on SIGINT or SIGTERM the
// listed files are removed before the process ends as the signal says.
#pragma once

namespace dravella::engine::dbf {

// Installs the handlers (once; later calls do nothing). Programs call it at
// start; without it, leftovers are removed by the next save of their table.
void RemoveTempFilesOnInterrupt();

// Lists a temporary file; returns its slot, or -1 when every slot is taken
// (the file is then left to the next save's cleanup).
int ListTempFile(const char* path);
// Takes a file off the list.
void UnlistTempFile(int slot);

}  // namespace dravella::engine::dbf
