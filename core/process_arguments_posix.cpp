#include "core/process_arguments.h"

namespace dravella::core {

// The system hands over the arguments already split: each is one word.
bool ParseProcessArguments(int argc, const char* const* argv, CommandTokens& tokens,
                           RunOptions& options) {
  return ParseArguments(argc, argv, tokens, options);
}

}  // namespace dravella::core
