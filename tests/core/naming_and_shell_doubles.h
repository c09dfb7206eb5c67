// Stand-ins for the desktop's opener and the naming's random generator.
#pragma once

#include <string>
#include <vector>

#include "core/output_naming.h"
#include "core/shell_open.h"

namespace dravella::testing {

// Records every request as "target show_mode" and answers as told.
class RecordingShell final : public core::ShellOpener {
 public:
  explicit RecordingShell(bool answer = true) : answer_(answer) {}
  bool Open(const std::string& target, int show_mode) override {
    opened.push_back(target + " " + std::to_string(show_mode));
    return answer_;
  }
  std::vector<std::string> opened;

 private:
  bool answer_;
};

// Always draws 0.5, so replacement names are predictable.
class FixedRandom final : public core::RandomSource {
 public:
  void ReseedFromClock() override {}
  double NextUnit() override { return 0.5; }
};

}  // namespace dravella::testing
