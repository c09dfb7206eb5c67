// dravbatch: converts one workbook, or every workbook of a folder, into dBASE
// tables as the command line says. It prints nothing and asks nothing.
#include <cstdio>
#include <string_view>

#include "CMD/usage.h"
#include "core/command_line.h"

namespace {

constexpr int kExitRan = 0;
constexpr int kExitRejected = 1;

bool IsHelpRequest(int argc, char** argv) {
  if (argc != 2) return false;
  const std::string_view argument = argv[1];
  return argument == "--help" || argument == "-h" || argument == "/?";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace dravella;
  if (IsHelpRequest(argc, argv)) {
    std::fwrite(cmd::kUsage.data(), 1, cmd::kUsage.size(), stdout);
    return kExitRan;
  }
  core::CommandTokens tokens;
  core::RunOptions options;
  if (!core::ParseCommandLine(core::JoinProcessArguments(argc, argv), tokens, options)) {
    return kExitRejected;
  }
  return kExitRan;
}
