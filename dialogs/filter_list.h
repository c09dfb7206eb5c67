// File-type filters of the file dialogs: the caller's "description|pattern|..."
// text, and the NUL-separated list that the dialog record carries.
#pragma once

#include <string>
#include <vector>

namespace dravella::dialogs {

struct FileFilter {
  std::string description;
  std::string patterns;  // one or more patterns separated by ";"
};

// "Text (*.txt)|*.txt" becomes "Text (*.txt)" NUL "*.txt" NUL: every piece
// followed by one NUL. The std::string's own terminator then ends the list.
std::string NulSeparatedFilter(const std::string& bar_separated);

// Reads the pairs of a NUL-separated list up to the empty text that ends it.
// A description without its pattern is dropped.
std::vector<FileFilter> ReadFilterList(const char* list);

}  // namespace dravella::dialogs
