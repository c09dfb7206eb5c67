// A stand-in for the spreadsheet application: scripted workbooks, a log of
// every call in order, failures on demand, and SaveAs writing a small file.
#pragma once

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/automation_error.h"
#include "engine/cell_address.h"
#include "engine/object_model.h"

namespace dravella::testing {

struct FakeSheet {
  std::string name;
  int32_t rows = 1;
  int32_t columns = 1;
  bool a1_empty = false;
  int32_t first_row = 1;  // where the used range starts
  int32_t first_column = 1;
};

struct FakeBook {
  std::vector<FakeSheet> sheets;
  bool fail_open = false;
  int fail_save_of_sheet = 0;  // 1-based worksheet whose SaveAs fails; 0: none
};

class FakeWorld {
 public:
  std::map<std::string, FakeBook> books;  // by path
  std::vector<std::string> log;
  bool fail_create = false;
  int32_t error_number = 1004;

  void Log(const std::string& call) { log.push_back(call); }
  [[noreturn]] void Fail(const std::string& what) {
    throw engine::AutomationError(error_number, what);
  }
};

class FakeRange final : public engine::Range {
 public:
  FakeRange(FakeWorld& world, const FakeSheet& sheet, int32_t row, int32_t column, int32_t rows,
            int32_t columns)
      : world_(world), sheet_(sheet), row_(row), column_(column), rows_(rows), columns_(columns) {}
  int32_t RowsCount() override {
    world_.Log("Rows.Count");
    return rows_;
  }
  int32_t ColumnsCount() override {
    world_.Log("Columns.Count");
    return columns_;
  }
  std::shared_ptr<engine::Range> Cells(int32_t row, int32_t column) override {
    return std::make_shared<FakeRange>(world_, sheet_, row_ + row - 1, column_ + column - 1, 1, 1);
  }
  std::string Address() override {
    const std::string address = engine::AbsoluteAddress(
        {static_cast<uint32_t>(row_ - 1), static_cast<uint32_t>(column_ - 1)});
    world_.Log("Address " + address);
    return address;
  }
  engine::CellVariant Value() override {
    world_.Log("Value " + engine::AbsoluteAddress({static_cast<uint32_t>(row_ - 1),
                                                   static_cast<uint32_t>(column_ - 1)}));
    const bool empty = row_ == 1 && column_ == 1 && sheet_.a1_empty;
    if (empty || row_ != 1 || column_ != 1) return {};
    return {engine::CellKind::kNumber, 1.0, ""};
  }
  void Select() override {
    world_.Log("Select " +
               engine::AbsoluteAddress({static_cast<uint32_t>(row_ - 1), static_cast<uint32_t>(column_ - 1)}) +
               ":" +
               engine::AbsoluteAddress({static_cast<uint32_t>(row_ + rows_ - 2),
                                        static_cast<uint32_t>(column_ + columns_ - 2)}));
  }

 private:
  FakeWorld& world_;
  const FakeSheet& sheet_;
  int32_t row_, column_, rows_, columns_;
};

class FakeWorksheet final : public engine::Worksheet {
 public:
  FakeWorksheet(FakeWorld& world, const FakeBook& book, int32_t index)
      : world_(world), book_(book), index_(index), sheet_(book.sheets[index - 1]) {}
  std::string Name() override {
    world_.Log("Name " + std::to_string(index_));
    return sheet_.name;
  }
  void Activate() override { world_.Log("Activate " + std::to_string(index_)); }
  std::shared_ptr<engine::Range> UsedRange() override {
    return std::make_shared<FakeRange>(world_, sheet_, sheet_.first_row, sheet_.first_column,
                                       sheet_.rows, sheet_.columns);
  }
  std::shared_ptr<engine::Range> Cells(int32_t row, int32_t column) override {
    return std::make_shared<FakeRange>(world_, sheet_, row, column, 1, 1);
  }
  std::shared_ptr<engine::Range> RangeOf(const std::string& first, const std::string& last) override {
    const auto a = engine::ParseAddress(first);
    const auto b = engine::ParseAddress(last);
    if (!a || !b) world_.Fail("bad address");
    return std::make_shared<FakeRange>(world_, sheet_, a->row + 1, a->column + 1,
                                       b->row - a->row + 1, b->column - a->column + 1);
  }
  void ColumnsAutoFit() override { world_.Log("AutoFit"); }
  void SaveAs(const std::string& path, int32_t file_format) override {
    world_.Log("SaveAs " + path + " " + std::to_string(file_format));
    if (book_.fail_save_of_sheet == index_) world_.Fail("cannot save " + path);
    std::ofstream(path) << sheet_.name;
  }

 private:
  FakeWorld& world_;
  const FakeBook& book_;
  int32_t index_;
  const FakeSheet& sheet_;
};

class FakeWorkbook final : public engine::Workbook {
 public:
  FakeWorkbook(FakeWorld& world, const FakeBook& book) : world_(world), book_(book) {}
  int32_t WorksheetsCount() override {
    world_.Log("Worksheets.Count");
    return static_cast<int32_t>(book_.sheets.size());
  }
  std::shared_ptr<engine::Worksheet> Worksheets(int32_t index) override {
    if (index < 1 || index > static_cast<int32_t>(book_.sheets.size())) world_.Fail("index");
    return std::make_shared<FakeWorksheet>(world_, book_, index);
  }
  void Close() override { world_.Log("Close"); }

 private:
  FakeWorld& world_;
  const FakeBook& book_;
};

class FakeApplication final : public engine::Application {
 public:
  explicit FakeApplication(FakeWorld& world) : world_(world) {}
  std::shared_ptr<engine::Workbook> WorkbooksOpen(const std::string& path) override {
    world_.Log("Open " + path);
    const auto found = world_.books.find(path);
    if (found == world_.books.end() || found->second.fail_open) world_.Fail("cannot open " + path);
    return std::make_shared<FakeWorkbook>(world_, found->second);
  }
  void SetDisplayAlerts(bool display) override {
    world_.Log(display ? "DisplayAlerts on" : "DisplayAlerts off");
  }
  void SetTableCodePage(const std::string& code_page) override { world_.Log("CodePage " + code_page); }
  void Quit() override { world_.Log("Quit"); }

 private:
  FakeWorld& world_;
};

class FakeFactory final : public engine::ApplicationFactory {
 public:
  explicit FakeFactory(FakeWorld& world) : world_(world) {}
  std::shared_ptr<engine::Application> CreateObject(std::string_view class_name) override {
    world_.Log("Create " + std::string(class_name));
    if (world_.fail_create) world_.Fail("cannot create");
    return std::make_shared<FakeApplication>(world_);
  }

 private:
  FakeWorld& world_;
};

}  // namespace dravella::testing
