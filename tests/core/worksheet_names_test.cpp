#include "core/worksheet_names.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/automation_error.h"
#include "tests/core/fake_application.h"

namespace dravella::core {
namespace {

using testing::FakeBook;
using testing::FakeFactory;
using testing::FakeWorld;

struct Listing {
  std::vector<std::string> names;
  std::vector<int32_t> numbers;
};

TEST(WorksheetNamesTest, ReadsOnlyTheWorksheetListAndQuits) {
  FakeWorld world;
  world.books["/in/book.xls"] = FakeBook{{{"North"}, {"South"}, {"Sum"}}};
  FakeFactory factory(world);
  Listing listing;
  ReadWorksheetNames(factory, "/in/book.xls", [&](int32_t number, const std::string& name) {
    listing.numbers.push_back(number);
    listing.names.push_back(name);
  });
  EXPECT_EQ(listing.names, (std::vector<std::string>{"North", "South", "Sum"}));
  EXPECT_EQ(listing.numbers, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(world.log, (std::vector<std::string>{"Create Excel.Application", "Open /in/book.xls",
                                                 "DisplayAlerts off", "Worksheets.Count", "Name 1",
                                                 "Name 2", "Name 3", "Close", "Quit"}));
}

TEST(WorksheetNamesTest, FailureClosesWhatWasOpenedQuitsWhatWasStartedAndRethrows) {
  struct Case {
    const char* what;
    bool fail_create;
    bool fail_open;
    int throw_at_sheet;  // on_name throws for this worksheet; 0: never
    std::vector<std::string> log;
    std::string message;
  };
  const Case cases[] = {
      {"no application", true, false, 0, {"Create Excel.Application"}, "cannot create"},
      {"unopenable workbook", false, true, 0,
       {"Create Excel.Application", "Open /b.xls", "Quit"}, "cannot open /b.xls"},
      {"failure while listing", false, false, 2,
       {"Create Excel.Application", "Open /b.xls", "DisplayAlerts off", "Worksheets.Count", "Name 1",
        "Name 2", "Close", "Quit"},
       "listing stopped"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeWorld world;
    world.fail_create = c.fail_create;
    world.books["/b.xls"] = FakeBook{{{"One"}, {"Two"}, {"Three"}}, c.fail_open};
    FakeFactory factory(world);
    std::vector<std::string> seen;
    try {
      ReadWorksheetNames(factory, "/b.xls", [&](int32_t number, const std::string& name) {
        seen.push_back(name);
        if (number == c.throw_at_sheet) throw engine::AutomationError(1004, "listing stopped");
      });
      ADD_FAILURE() << "no error";
    } catch (const engine::AutomationError& error) {
      EXPECT_EQ(error.description(), c.message);
    }
    EXPECT_EQ(world.log, c.log);
    EXPECT_EQ(seen.size(), static_cast<size_t>(c.throw_at_sheet));
  }
}

}  // namespace
}  // namespace dravella::core
