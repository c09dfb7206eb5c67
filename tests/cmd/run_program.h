// Runs a program with arguments and collects its exit status and output.
#pragma once

#include <string>
#include <vector>

namespace dravella::testing {

struct ProgramRun {
  int exit_status = -1;
  std::string out;
  std::string err;
};

// Standard input is empty, so a program that waits for input fails the test
// instead of hanging it. One source file per platform.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace dravella::testing
