#include "core/command_line.h"
#include "core/process_arguments.h"

namespace dravella::core {

// The system hands over the arguments already split: join them back.
std::string ProcessArgumentString(int argc, const char* const* argv) {
  return JoinProcessArguments(argc, argv);
}

}  // namespace dravella::core
