#include <windows.h>

#include <string>

#include "core/process_arguments.h"
#include "engine/platform/wide_text.h"

namespace dravella::core {

// argv holds the arguments in the ANSI code page, split by the C run-time's
// own rules: the wide command line is read instead and split as typed.
bool ParseProcessArguments(int /*argc*/, const char* const* /*argv*/, CommandTokens& tokens,
                           RunOptions& options) {
  const std::string line = platform::Utf8FromWide(GetCommandLineW());
  return ParseCommandLine(ArgumentsAfterProgramName(line), tokens, options);
}

}  // namespace dravella::core
