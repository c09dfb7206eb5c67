// dravbatch: converts one workbook, or every workbook of a folder, into dBASE
// tables as the command line says. It asks nothing and prints nothing on
// success; the exit status tells what happened, and standard error why.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "CMD/usage.h"
#include "core/batch_driver.h"
#include "core/command_line.h"
#include "core/process_arguments.h"
#include "core/version.h"
#include "engine/dbf/interrupt_cleanup.h"

namespace {

constexpr int kExitConverted = 0;
constexpr int kExitRejected = 1;
constexpr int kExitFailed = 2;

void PrintLine(const std::string& line) {
  std::fprintf(stderr, "dravbatch: %s\n", line.c_str());
}

// One line on standard error per failure and per table with replaced characters.
class StandardErrorReporter final : public dravella::core::BatchReporter {
 public:
  void Failed(const std::string& workbook, const std::string& worksheet,
              const std::string& reason) override {
    PrintLine(dravella::core::FailureLine(workbook, worksheet, reason));
  }
  void CharactersReplaced(const std::string& workbook,
                          const dravella::core::ReplacedCharacters& table) override {
    PrintLine(dravella::core::ReplacedCharactersLine(workbook, table));
  }
};

bool IsHelpRequest(int argc, char** argv) {
  if (argc != 2) return false;
  const std::string_view argument = argv[1];
  return argument == "--help" || argument == "-h" || argument == "/?";
}

bool IsVersionRequest(int argc, char** argv) {
  return argc == 2 && std::string_view(argv[1]) == "--version";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace dravella;
  if (IsHelpRequest(argc, argv)) {
    std::fwrite(cmd::kUsage.data(), 1, cmd::kUsage.size(), stdout);
    return kExitConverted;
  }
  if (IsVersionRequest(argc, argv)) {
    std::printf("dravbatch %s\n", core::kVersion);
    return kExitConverted;
  }
  // An interrupted run leaves no temporary files behind.
  engine::dbf::RemoveTempFilesOnInterrupt();
  core::CommandTokens tokens;
  core::RunOptions options;
  if (!core::ParseProcessArguments(argc, argv, tokens, options)) {
    PrintLine(options.RejectReason);
    return kExitRejected;
  }
  core::OutputNaming naming;
  StandardErrorReporter reporter;
  core::BatchContext context{engine::EngineApplicationFactory(), core::SystemShellOpener(), naming,
                             &reporter};
  try {
    return core::RunBatch(options, context) == core::BatchOutcome::kAllConverted ? kExitConverted
                                                                                : kExitFailed;
  } catch (const std::exception& error) {
    // Nothing the run meets may end it without a reason.
    PrintLine(error.what());
    return kExitFailed;
  }
}
