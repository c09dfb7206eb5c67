#include "core/worksheet_save.h"

#include <gtest/gtest.h>

#include "tests/core/fake_application.h"

namespace dravella::core {
namespace {

using testing::FakeBook;
using testing::FakeSheet;
using testing::FakeWorld;
using Log = std::vector<std::string>;

class WorksheetSaveTest : public ::testing::Test {
 protected:
  SaveOutcome Save(const FakeSheet& sheet) {
    world_.books["book.xls"] = FakeBook{{sheet}};
    testing::FakeWorkbook workbook(world_, world_.books["book.xls"]);
    world_.log.clear();
    return SaveWorksheetAsDbf(workbook, 1, "/nowhere/t.dbf", engine::kFileFormatDbase4);
  }
  FakeWorld world_;
};

TEST_F(WorksheetSaveTest, FitsSelectsAndSavesTheUsedRangeInOrder) {
  EXPECT_EQ(Save({"S", 3, 4, false, 2, 2}), SaveOutcome::kSaved);
  EXPECT_EQ(world_.log, (Log{"Activate 1", "Rows.Count", "Columns.Count", "Address $B$2",
                             "Address $E$4", "AutoFit", "Select $B$2:$E$4",
                             "SaveAs /nowhere/t.dbf 11"}));
}

TEST_F(WorksheetSaveTest, OneCellRangeIsEmptyOnlyWhenA1IsEmpty) {
  struct Case {
    FakeSheet sheet;
    SaveOutcome expected;
  };
  const Case cases[] = {
      {{"untouched", 1, 1, true, 1, 1}, SaveOutcome::kEmpty},
      {{"value in A1", 1, 1, false, 1, 1}, SaveOutcome::kSaved},
      {{"one value in C3", 1, 1, true, 3, 3}, SaveOutcome::kEmpty},  // A1 decides, not C3
      {{"range, A1 empty", 2, 1, true, 1, 1}, SaveOutcome::kSaved},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Save(c.sheet), c.expected) << c.sheet.name;
    const bool saved = !world_.log.empty() && world_.log.back().starts_with("SaveAs");
    EXPECT_EQ(saved, c.expected == SaveOutcome::kSaved) << c.sheet.name;
  }
}

TEST_F(WorksheetSaveTest, ApplicationErrorsReachTheCaller) {
  world_.books["book.xls"] = FakeBook{{{"S", 2, 2}}, false, 1};
  testing::FakeWorkbook workbook(world_, world_.books["book.xls"]);
  try {
    SaveWorksheetAsDbf(workbook, 1, "/nowhere/t.dbf", engine::kFileFormatDbase3);
    FAIL() << "no error";
  } catch (const engine::AutomationError& error) {
    EXPECT_EQ(error.number(), 1004);
    EXPECT_EQ(error.description(), "cannot save /nowhere/t.dbf");
  }
}

}  // namespace
}  // namespace dravella::core
