// The workbooks of one input of the desktop program's input list: the name
// of a workbook file, or the .xls files of a folder.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace dravella::core {

// The workbook list holds no more entries than SheetTable has workbook rows.
inline constexpr std::size_t kMaxListedWorkbooks = 500;

// The names (without folder) of the workbooks in a folder, in the order the
// file system lists them, at most kMaxListedWorkbooks. A workbook is an
// ordinary file, not hidden (its name does not start with "."), whose name
// ends in ".xls" in any case and whose FileExtension is exactly "xls", so
// BOOK.XLS is listed and c.xlsx is not. Never throws: a folder that cannot be
// read gives what was listed before the error, a missing one nothing.
std::vector<std::string> WorkbookNamesInFolder(const std::string& folder);

// The last name of a file path as the file system reports it ("Book1.xls").
std::string FileNameOf(const std::string& file_path);

}  // namespace dravella::core
