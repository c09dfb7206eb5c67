#include "dialogs/filter_list.h"

#include <cstring>

namespace dravella::dialogs {

std::string NulSeparatedFilter(const std::string& bar_separated) {
  std::string list;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = bar_separated.find('|', start);
    list += bar_separated.substr(start, bar - start);
    list += '\0';
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return list;
}

std::vector<FileFilter> ReadFilterList(const char* list) {
  std::vector<FileFilter> filters;
  if (list == nullptr) return filters;
  while (*list != '\0') {
    FileFilter filter;
    filter.description = list;
    list += filter.description.size() + 1;
    if (*list == '\0') break;
    filter.patterns = list;
    list += filter.patterns.size() + 1;
    filters.push_back(std::move(filter));
  }
  return filters;
}

}  // namespace dravella::dialogs
