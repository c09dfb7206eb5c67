// Any bytes give a workbook or a clean error: small fixtures are damaged at
// every byte (set to 0x00, to 0xFF, and incremented) and cut at every length,
// then opened and read whole. A crash, a hang or an error without a number
// fails the test; under the sanitizer build so does any invalid access.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/engine/reader_test_support.h"

namespace dravella::engine {
namespace {

using testing::BiffVersion;
using testing::SheetBuilder;
using testing::WorkbookBuilder;

void ReadEverything(std::vector<uint8_t> bytes, const std::string& what) {
  auto opened = WorkbookFile::OpenBytes(std::move(bytes), "sweep.xls");
  if (!opened.ok()) {
    ASSERT_GT(opened.status().number(), 0) << what;
    ASSERT_NE(opened.status().description().find("sweep.xls"), std::string::npos) << what;
    return;
  }
  WorkbookFile& book = *opened.value();
  for (size_t i = 0; i < book.worksheet_count(); ++i) {
    auto sheet = book.worksheet(i);
    if (!sheet.ok()) {
      ASSERT_GT(sheet.status().number(), 0) << what;
      continue;
    }
    const CellRange r = sheet.value()->used_range();
    ASSERT_LE(r.first_row, r.last_row) << what;
    ASSERT_LE(r.first_column, r.last_column) << what;
    // Only the corners and a diagonal: the range may be 65536 x 65536.
    for (uint32_t k = 0; k < 64; ++k) {
      const CellValue v = sheet.value()->cell(r.first_row + k, r.first_column + k);
      if (v.kind == CellKind::kText) {
        ASSERT_FALSE(v.text.empty()) << what;
      }
    }
    sheet.value()->cell(r.last_row, r.last_column);
  }
}

std::vector<uint8_t> SmallWorkbook(BiffVersion version) {
  WorkbookBuilder book(version);
  if (version == BiffVersion::kBiff8) book.SetMaxRecordPayload(32);
  const uint16_t date = book.DateXf();
  SheetBuilder& s = book.AddSheet("One");
  s.Number(0, 0, 1.5).Number(0, 1, 45000, date).Text(1, 0, "text é").Boolean(1, 1, true).Blank(2, 2);
  s.FormulaText(3, 0, "formula text").FormulaNumber(3, 1, 2);
  if (version >= BiffVersion::kBiff3) s.Rk(4, 0, 12.5);
  if (version >= BiffVersion::kBiff5) {
    const double values[] = {1, 2};
    s.MulRk(5, 0, values).MulBlank(6, 0, 3);
  }
  if (version == BiffVersion::kBiff4Workbook || version >= BiffVersion::kBiff5) {
    book.AddSheet("Two").Text(0, 0, "second");
  }
  return version == BiffVersion::kBiff8 ? book.Build() : book.BuildStream();
}

class ByteSweepTest : public ::testing::TestWithParam<BiffVersion> {};

TEST_P(ByteSweepTest, EveryDamagedByteGivesAResultOrACleanError) {
  const std::vector<uint8_t> good = SmallWorkbook(GetParam());
  ReadEverything(good, "undamaged");
  for (size_t at = 0; at < good.size(); ++at) {
    for (const auto& change : {std::function<uint8_t(uint8_t)>([](uint8_t) { return 0x00; }),
                               std::function<uint8_t(uint8_t)>([](uint8_t) { return 0xFF; }),
                               std::function<uint8_t(uint8_t)>([](uint8_t b) { return b + 1; })}) {
      std::vector<uint8_t> bytes = good;
      bytes[at] = change(bytes[at]);
      ReadEverything(std::move(bytes), "byte " + std::to_string(at));
      if (HasFatalFailure()) return;
    }
  }
}

TEST_P(ByteSweepTest, EveryCutGivesAResultOrACleanError) {
  const std::vector<uint8_t> good = SmallWorkbook(GetParam());
  for (size_t size = 0; size < good.size(); ++size) {
    ReadEverything(std::vector<uint8_t>(good.begin(), good.begin() + size), "cut at " + std::to_string(size));
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, ByteSweepTest,
                         ::testing::Values(BiffVersion::kBiff2, BiffVersion::kBiff4Workbook, BiffVersion::kBiff5,
                                           BiffVersion::kBiff8));

}  // namespace
}  // namespace dravella::engine
