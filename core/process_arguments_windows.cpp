#include <windows.h>

#include "core/process_arguments.h"
#include "engine/platform/wide_text.h"

namespace dravella::core {

std::string ProcessArgumentString(int /*argc*/, const char* const* /*argv*/) {
  const std::string line = platform::Utf8FromWide(GetCommandLineW());
  return std::string(ArgumentsAfterProgramName(line));
}

}  // namespace dravella::core
