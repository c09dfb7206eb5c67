#include "core/process_arguments.h"

namespace dravella::core {

std::string_view ArgumentsAfterProgramName(std::string_view command_line) {
  size_t at = 0;
  if (!command_line.empty() && command_line[0] == '"') {
    const size_t closing = command_line.find('"', 1);
    at = closing == std::string_view::npos ? command_line.size() : closing + 1;
  } else {
    at = command_line.find_first_of(" \t");
    if (at == std::string_view::npos) at = command_line.size();
  }
  while (at < command_line.size() && (command_line[at] == ' ' || command_line[at] == '\t')) ++at;
  return command_line.substr(at);
}

}  // namespace dravella::core
