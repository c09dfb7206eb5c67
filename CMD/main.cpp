// dravbatch: converts one workbook, or every workbook of a folder, into dBASE
// tables as the command line says. It prints nothing and asks nothing; the
// exit status tells what happened.
#include <cstdio>
#include <string>
#include <string_view>

#include "CMD/usage.h"
#include "core/batch_driver.h"
#include "core/command_line.h"

namespace {

constexpr int kExitConverted = 0;
constexpr int kExitRejected = 1;
constexpr int kExitFailed = 2;

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
    return kExitConverted;
  }
  core::CommandTokens tokens;
  core::RunOptions options;
  std::string why;
  if (!core::ParseCommandLine(core::JoinProcessArguments(argc, argv), tokens, options, &why)) {
    if (!why.empty()) std::fprintf(stderr, "%s\n", why.c_str());
    return kExitRejected;
  }
  core::OutputNaming naming;
  core::BatchContext context{engine::EngineApplicationFactory(), core::SystemShellOpener(), naming};
  return core::RunBatch(options, context) == core::BatchOutcome::kAllConverted ? kExitConverted
                                                                              : kExitFailed;
}
