// Times the dBASE table writer on a 65,535-record x 10-column grid of mixed
// kinds (numbers, dates, booleans, texts, errors, empties), at each level,
// and reports how much the peak memory grew during the writes.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/dbf/dbf_writer.h"

namespace {

using namespace dravella::engine;

constexpr uint32_t kRecords = 65535;
constexpr uint32_t kColumns = 10;
constexpr int kRuns = 7;

// Cells held in memory, as the reader's sheet holds them.
class BenchGrid : public CellGrid {
 public:
  BenchGrid() : cells_(size_t{kRecords + 1} * kColumns) {
    static const char* const kNames[kColumns] = {"Id",    "Price", "Ratio", "Day",  "Stamp",
                                                 "Paid",  "Name",  "City",  "Mixed", "Empty"};
    static const char* const kCities[] = {"Zürich", "Kraków", "Lisboa", "Reykjavík", "Oslo"};
    for (uint32_t c = 0; c < kColumns; ++c) Set(0, c, {CellKind::kText, 0, kNames[c]});
    for (uint32_t r = 1; r <= kRecords; ++r) {
      names_.push_back("Customer number " + std::to_string(r * 7919 % 100000));
    }
    for (uint32_t r = 1; r <= kRecords; ++r) {
      Set(r, 0, {CellKind::kNumber, static_cast<double>(r), {}});
      Set(r, 1, {CellKind::kNumber, (r % 1000) * 1.25 + 0.01 * (r % 7), {}});
      Set(r, 2, {CellKind::kNumber, 1.0 / (r + 2), {}});
      Set(r, 3, {CellKind::kDate, 36526.0 + r % 9000, {}});
      Set(r, 4, {CellKind::kDate, 43831.0 + r / 1440.0, {}});
      Set(r, 5, {CellKind::kBoolean, static_cast<double>(r % 2), {}});
      Set(r, 6, {CellKind::kText, 0, names_[r - 1]});
      Set(r, 7, {CellKind::kText, 0, kCities[r % 5]});
      switch (r % 4) {
        case 0: Set(r, 8, {CellKind::kNumber, r * 0.5, {}}); break;
        case 1: Set(r, 8, {CellKind::kText, 0, "n/a"}); break;
        case 2: Set(r, 8, {CellKind::kError, 0x07, {}}); break;
        default: break;  // empty
      }
    }
  }

  uint32_t rows() const override { return kRecords + 1; }
  uint32_t columns() const override { return kColumns; }
  DateSystem date_system() const override { return DateSystem::k1900; }
  CellValue at(uint32_t row, uint32_t column) const override {
    return cells_[size_t{row} * kColumns + column];
  }

 private:
  void Set(uint32_t row, uint32_t column, CellValue value) {
    cells_[size_t{row} * kColumns + column] = value;
  }

  std::vector<CellValue> cells_;
  std::vector<std::string> names_;
};

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main() {
  const BenchGrid grid;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "dravella-dbf-write-bench";
  std::filesystem::create_directories(folder);
  const long peak_before = PeakKilobytes();

  const struct {
    const char* name;
    DbfLevel level;
    CodePage page;
  } variants[] = {
      {"dBASE III, 1252", DbfLevel::kDbase3, CodePage::k1252},
      {"dBASE IV, UTF-8", DbfLevel::kDbase4, CodePage::kUtf8},
      {"dBASE II, 850", DbfLevel::kDbase2, CodePage::k850},
      {"dBASE III, 936", DbfLevel::kDbase3, CodePage::k936},
  };
  int failures = 0;
  for (const auto& variant : variants) {
    DbfOptions options;
    options.level = variant.level;
    options.code_page = variant.page;
    const std::filesystem::path target = folder / "bench.dbf";
    std::vector<double> seconds;
    std::vector<double> cpu_seconds;  // steadier than wall time on a shared machine
    for (int run = 0; run < kRuns; ++run) {
      const std::clock_t cpu_start = std::clock();
      const auto start = std::chrono::steady_clock::now();
      const Status status = WriteDbfTable(grid, target, options);
      const auto end = std::chrono::steady_clock::now();
      cpu_seconds.push_back(static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC);
      if (!status.ok()) {
        std::fprintf(stderr, "%s: %s\n", variant.name, status.description().c_str());
        ++failures;
        break;
      }
      seconds.push_back(std::chrono::duration<double>(end - start).count());
    }
    if (seconds.empty()) continue;
    std::sort(seconds.begin(), seconds.end());
    std::sort(cpu_seconds.begin(), cpu_seconds.end());
    std::printf("%-16s %u x %u: wall best %.4f s, median %.4f s; cpu best %.4f s; table %ju bytes\n",
                variant.name, kRecords, kColumns, seconds.front(), seconds[seconds.size() / 2],
                cpu_seconds.front(), static_cast<uintmax_t>(std::filesystem::file_size(target)));
  }
  std::printf("peak memory growth during the writes: %ld KiB\n", PeakKilobytes() - peak_before);
  std::filesystem::remove_all(folder);
  return failures == 0 ? 0 : 1;
}
