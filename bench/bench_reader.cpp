// Times the workbook reader on a large BIFF8 workbook made by the test
// workbook builder: 65,535 rows of 10 mixed columns (a header row, then
// deterministic pseudo-random data).
//
//   bench_reader [--rows N] [--sheets N] [--runs N] [--write PATH [--write-only]] [--input PATH]
//
// First the figures of the process's first run (cold allocations: the page
// faults a one-shot conversion pays), with the goals of a one-shot
// conversion; then steps, each the best of N runs on a freshly opened
// workbook: opening, listing the worksheets (names only: no cell record may
// be read yet, which shows in the time), and reading every cell of the used
// range. The
// workbook is built in a child process so that the peak memory reported
// (ru_maxrss) is the reader's alone. --write keeps the workbook for other
// benchmarks (--write-only: and stops there; --sheets: that many equal
// worksheets); --input times an existing file instead.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/xls/workbook_file.h"
#include "tests/support/xls_builder.h"

namespace {

namespace fs = std::filesystem;
using dravella::engine::CellKind;
using dravella::engine::CellRange;
using dravella::engine::CellValue;
using dravella::engine::SheetData;
using dravella::engine::WorkbookFile;
using namespace dravella::testing;

constexpr double kGoalListMs = 10;
constexpr double kGoalReadMs = 250;
constexpr double kGoalPeakMb = 100;
// A whole conversion of the benchmark workbook is to take at most 40 ms and
// 20 MiB; reading is the larger part of both.
constexpr double kGoalFirstReadMs = 40;
constexpr double kGoalFirstPeakMb = 20;

struct Options {
  uint32_t rows = 65535;  // the header row included
  int sheets = 1;
  bool write_only = false;
  int runs = 5;
  fs::path write_to;
  fs::path input;
};

// splitmix64: the same data on every run and machine.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t Below(uint32_t limit) { return static_cast<uint32_t>(Next() % limit); }
  double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }

 private:
  uint64_t state_;
};

WorkbookBuilder MakeWorkbook(uint32_t rows, int sheets) {
  static const char* const kHeaders[] = {"Id",   "Name",     "Amount", "Quantity", "Date",
                                         "City", "Fraction", "Code",   "Active",   "Note"};
  static const char* const kFirst[] = {"Anna", "Jürgen", "Zoë", "Marta", "Pedro", "Li", "Olga", "Samir",
                                       "Chloé", "Tomás", "Ingrid", "Kenji", "Fatima", "Lars", "Eva", "Noah"};
  static const char* const kLast[] = {"Berg", "Nowak", "Dubois", "Rossi", "Silva", "Meyer", "Horvat",
                                      "Novák", "Jensen", "Kowalski", "García", "Müller", "Smith", "Ivanova"};
  static const char* const kCities[] = {"Oslo", "Lyon", "Porto", "Graz", "Kraków", "Malmö", "Bern",
                                        "Turku", "Cork", "Gent", "Brno", "Split", "Riga", "Pécs"};
  WorkbookBuilder book;
  const uint16_t date_xf = book.DateXf();
  for (int s = 0; s < sheets; ++s) {
    SheetBuilder& sheet = book.AddSheet(s == 0 ? std::string("Data") : "Data" + std::to_string(s + 1));
    for (uint16_t c = 0; c < 10; ++c) sheet.Text(0, c, kHeaders[c]);

    Random random(20240611);
    std::string note;
    for (uint32_t r = 1; r < rows; ++r) {
      const auto row = static_cast<uint16_t>(r);
      sheet.Rk(row, 0, r, RkForm::kInteger);
      sheet.Text(row, 1, std::string(kFirst[random.Below(16)]) + " " + kLast[random.Below(14)]);
      sheet.Rk(row, 2, random.Below(10'000'000) / 100.0, RkForm::kIntegerX100);
      sheet.Rk(row, 3, 1 + random.Below(500), RkForm::kInteger);
      sheet.Rk(row, 4, 36526 + random.Below(9000), RkForm::kInteger, date_xf);
      sheet.Text(row, 5, kCities[random.Below(14)]);
      sheet.Number(row, 6, random.Unit());
      const uint32_t code = random.Below(26 * 26 * 10000);
      sheet.Text(row, 7, std::string{static_cast<char>('A' + code % 26), static_cast<char>('A' + code / 26 % 26), '-'} +
                             std::to_string(1000 + code / 676 % 9000));
      sheet.Boolean(row, 8, random.Below(2) == 1);
      note.clear();
      for (uint32_t n = random.Below(26); n > 0; --n) note.push_back(static_cast<char>('a' + random.Below(26)));
      // A text of no characters is an empty cell: spreadsheet programs write
      // no record for it (and some readers refuse an empty shared string).
      if (!note.empty()) sheet.Text(row, 9, note);
    }
  }
  return book;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double BestOf(int runs, const std::function<void()>& step) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    step();
    best = std::min(best, Milliseconds(std::chrono::steady_clock::now() - start));
  }
  return best;
}

double PeakMegabytes(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "bench_reader: %s\n", what.c_str());
  std::exit(2);
}

std::unique_ptr<WorkbookFile> OpenOrFail(const fs::path& path) {
  auto opened = WorkbookFile::Open(path);
  if (!opened.ok()) Fail(opened.status().description());
  return std::move(opened.value());
}

// Builds and writes the workbook in a child process, so that its memory
// does not count in this process's peak.
void WriteWorkbookInChild(const Options& options, const fs::path& path) {
  const pid_t child = fork();
  if (child < 0) Fail("cannot fork");
  if (child == 0) {
    const auto start = std::chrono::steady_clock::now();
    const WorkbookBuilder book = MakeWorkbook(options.rows, options.sheets);
    book.WriteTo(path);
    std::printf("built the workbook in %.0f ms (builder peak %.1f MB)\n",
                Milliseconds(std::chrono::steady_clock::now() - start), PeakMegabytes(RUSAGE_SELF));
    std::fflush(stdout);
    std::_Exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail("building the workbook failed");
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Fail("missing value after " + arg);
      return argv[++i];
    };
    if (arg == "--rows") {
      options.rows = static_cast<uint32_t>(std::clamp(std::stol(value()), 2L, 65536L));
    } else if (arg == "--sheets") {
      options.sheets = std::clamp(std::stoi(value()), 1, 255);
    } else if (arg == "--write-only") {
      options.write_only = true;
    } else if (arg == "--runs") {
      options.runs = std::max(1, std::stoi(value()));
    } else if (arg == "--write") {
      options.write_to = value();
    } else if (arg == "--input") {
      options.input = value();
    } else {
      Fail("usage: bench_reader [--rows N] [--sheets N] [--runs N] [--write PATH [--write-only]] [--input PATH]");
    }
  }
  return options;
}

void Row(const char* step, const std::string& figure, const char* goal, bool met) {
  std::printf("%-26s %14s   %-10s %s\n", step, figure.c_str(), goal, *goal ? (met ? "met" : "MISSED") : "");
}

std::string Format(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  fs::path path = options.input;
  fs::path temp_folder;
  if (path.empty()) {
    if (!options.write_to.empty()) {
      path = options.write_to;
    } else {
      temp_folder = fs::temp_directory_path() / ("dravella-bench-reader-" + std::to_string(getpid()));
      fs::create_directories(temp_folder);
      path = temp_folder / "bench_65535x10.xls";
    }
    WriteWorkbookInChild(options, path);
    if (options.write_only) return 0;
  }

  // The first run, timed cold, also checks that the reader sees what was written.
  uint64_t stored = 0;
  uint64_t first_checksum = 0;
  double first_ms = 0;
  double first_peak_mb = 0;
  {
    const auto start = std::chrono::steady_clock::now();
    auto book = OpenOrFail(path);
    auto sheet = book->worksheet(0);
    if (!sheet.ok()) Fail(sheet.status().description());
    const CellRange range = sheet.value()->used_range();
    for (uint32_t r = range.first_row; r <= range.last_row; ++r) {
      for (uint32_t c = range.first_column; c <= range.last_column; ++c) {
        const CellValue v = sheet.value()->cell(r, c);
        first_checksum += static_cast<uint64_t>(v.kind) + v.text.size() + static_cast<uint64_t>(v.number);
      }
    }
    first_ms = Milliseconds(std::chrono::steady_clock::now() - start);
    first_peak_mb = PeakMegabytes(RUSAGE_SELF);
    std::printf("workbook: %s, %.1f MB, %zu worksheet(s); used range %u rows x %u columns\n",
                path.string().c_str(), fs::file_size(path) / 1048576.0, book->worksheet_count(),
                range.last_row - range.first_row + 1, range.last_column - range.first_column + 1);
    if (options.input.empty() && (range.last_row + 1 != options.rows || range.last_column != 9 ||
                                  sheet.value()->cell(0, 0).text != "Id")) {
      Fail("the reader does not see the workbook that was written");
    }
    stored = sheet.value()->stored_cell_count();
  }

  const double open_ms = BestOf(options.runs, [&] { OpenOrFail(path); });
  size_t name_bytes = 0;
  const double list_ms = BestOf(options.runs, [&] {
    auto book = OpenOrFail(path);
    for (size_t i = 0; i < book->worksheet_count(); ++i) name_bytes += book->worksheet_name(i).size();
  });
  uint64_t checksum = 0;  // of the last run: the same every run, so the reads are not optimised away
  const double read_ms = BestOf(options.runs, [&] {
    checksum = 0;
    auto book = OpenOrFail(path);
    for (size_t i = 0; i < book->worksheet_count(); ++i) {
      auto sheet = book->worksheet(i);
      if (!sheet.ok()) Fail(sheet.status().description());
      const SheetData* data = sheet.value();
      const CellRange range = data->used_range();
      for (uint32_t r = range.first_row; r <= range.last_row; ++r) {
        for (uint32_t c = range.first_column; c <= range.last_column; ++c) {
          const CellValue v = data->cell(r, c);
          checksum += static_cast<uint64_t>(v.kind) + v.text.size() + static_cast<uint64_t>(v.number);
        }
      }
    }
  });
  const double peak_mb = PeakMegabytes(RUSAGE_SELF);

  std::printf("\nreader, first run in this process (%llu cells read, checksum %llu)\n",
              static_cast<unsigned long long>(stored), static_cast<unsigned long long>(first_checksum % 1000003));
  std::printf("%-26s %14s   %-10s\n", "step", "figure", "goal");
  Row("open and read every cell", Format("%.1f ms", first_ms), "< 40 ms", first_ms < kGoalFirstReadMs);
  Row("peak memory (first run)", Format("%.1f MiB", first_peak_mb), "< 20 MiB",
      first_peak_mb < kGoalFirstPeakMb);

  std::printf("\nreader, best of %d runs (%llu cells stored, checksum %llu)\n", options.runs,
              static_cast<unsigned long long>(stored), static_cast<unsigned long long>(checksum % 1000003));
  std::printf("%-26s %14s   %-10s\n", "step", "figure", "goal");
  Row("open", Format("%.2f ms", open_ms), "", true);
  Row("list worksheets", Format("%.2f ms", list_ms), "< 10 ms", list_ms < kGoalListMs);
  Row("read every cell", Format("%.1f ms", read_ms), "< 250 ms", read_ms < kGoalReadMs);
  Row("peak memory (reader)", Format("%.1f MB", peak_mb), "< 100 MB", peak_mb < kGoalPeakMb);

  if (!temp_folder.empty()) {
    std::error_code ignored;
    fs::remove_all(temp_folder, ignored);
  }
  return name_bytes == 0 ? 2 : 0;
}
