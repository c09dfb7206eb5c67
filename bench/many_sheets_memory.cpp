// Peak memory of dravbatch on a workbook with many worksheets, against the
// same workbook with one of them.
//
//   many_sheets_memory [--sheets N] [--rows N] [--columns N] [--keep DIR]
//
// The workbook's worksheet list holds N entries that all lead to one large
// worksheet (65,535 rows by default), so the file stays the size of one
// worksheet while the converter reads and saves N of them. A converter that
// kept every worksheet's cells until the workbook is closed grows with N;
// one that releases a worksheet after its save needs the memory of one.
// Goal: the N-sheet peak is at most 1.5 times the one-sheet peak.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/xls_builder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace dravella::testing;

constexpr double kGoalRatio = 1.5;

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A workbook of `sheets` worksheet entries, all leading to one worksheet of
// `rows` rows: a header row, then numbers and short texts.
void WriteWorkbook(const fs::path& path, int sheets, int rows, int columns) {
  WorkbookBuilder book;
  SheetBuilder& data = book.AddSheet("S1");
  for (int c = 0; c < columns; ++c) data.Text(0, static_cast<uint16_t>(c), "F" + std::to_string(c));
  for (int r = 1; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      if (c % 3 == 2) {
        data.Text(static_cast<uint16_t>(r), static_cast<uint16_t>(c), "t" + std::to_string(r % 997));
      } else {
        data.Number(static_cast<uint16_t>(r), static_cast<uint16_t>(c), r * 1.25 + c);
      }
    }
  }
  for (int s = 2; s <= sheets; ++s) book.AddSheet("S" + std::to_string(s));
  StreamLayout layout;
  std::vector<uint8_t> stream = book.BuildStream(&layout);
  // BOUNDSHEET: 4-byte header, then the stream position of the sheet's BOF.
  for (size_t s = 1; s < layout.boundsheet_offsets.size(); ++s) {
    Put32(stream, layout.boundsheet_offsets[s] + 4, static_cast<uint32_t>(layout.sheet_offsets[0]));
  }
  CompoundFileBuilder file;
  file.AddStream("Workbook", std::move(stream));
  const std::vector<uint8_t> bytes = file.Build();
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(2);
  }
  std::fclose(out);
}

struct Run {
  int status = -1;
  long peak_kb = 0;
};

Run RunDravbatch(const std::string& program, const fs::path& input, const fs::path& out) {
  fs::create_directories(out);
  const std::string in = input.string(), target = out.string();
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(in.c_str()),
                  const_cast<char*>(target.c_str()), nullptr};
  pid_t pid = 0;
  Run run;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return run;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.peak_kb = usage.ru_maxrss;
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  int sheets = 40, rows = 65535, columns = 10;
  std::string keep;
  std::string program = DRAVBATCH_PATH;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--sheets") sheets = std::atoi(argv[i + 1]);
    else if (option == "--rows") rows = std::atoi(argv[i + 1]);
    else if (option == "--columns") columns = std::atoi(argv[i + 1]);
    else if (option == "--keep") keep = argv[i + 1];
    else if (option == "--dravbatch") program = argv[i + 1];
  }
  const fs::path folder = keep.empty() ? fs::temp_directory_path() / ("many-sheets-" + std::to_string(getpid()))
                                       : fs::path(keep);
  fs::create_directories(folder);
  WriteWorkbook(folder / "one.xls", 1, rows, columns);
  WriteWorkbook(folder / "many.xls", sheets, rows, columns);

  const Run one = RunDravbatch(program, folder / "one.xls", folder / "one-out");
  const Run many = RunDravbatch(program, folder / "many.xls", folder / "many-out");
  const double ratio = one.peak_kb > 0 ? static_cast<double>(many.peak_kb) / one.peak_kb : 0;
  std::printf("workbook of %d rows x %d columns, %.1f MB\n", rows, columns,
              fs::file_size(folder / "many.xls") / 1e6);
  std::printf("dravbatch peak, 1 sheet:   %.1f MB (exit %d)\n", one.peak_kb / 1024.0, one.status);
  std::printf("dravbatch peak, %d sheets: %.1f MB (exit %d)\n", sheets, many.peak_kb / 1024.0,
              many.status);
  std::printf("ratio %.2f (goal: at most %.1f)\n", ratio, kGoalRatio);
  if (keep.empty()) fs::remove_all(folder);
  const bool ok = one.status == 0 && many.status == 0 && ratio <= kGoalRatio;
  return ok ? 0 : 1;
}
