// The engine's own application object: opens .xls workbooks with the reader
// and saves a worksheet's selection with the dBASE writer.
#include <filesystem>
#include <optional>
#include <vector>

#include "engine/automation_error.h"
#include "engine/cell_address.h"
#include "engine/dbf/dbf_writer.h"
#include "engine/object_model.h"
#include "engine/platform/file_system.h"
#include "engine/xls/workbook_file.h"

namespace dravella::engine {
namespace {

constexpr int32_t kMaxIndex = INT32_MAX;

[[noreturn]] void Fail(ErrorCode code, const std::string& description) {
  throw AutomationError(code, description);
}

// What the application knows of one open workbook, shared by the objects
// handed out for it.
struct BookState {
  std::unique_ptr<WorkbookFile> file;
  std::string path;
  std::vector<std::optional<CellRange>> selections;  // per worksheet
  std::vector<int64_t> replaced;                     // per worksheet, of its last save
  std::vector<bool> saved;                           // per worksheet
  size_t active = 0;
  bool open = true;
  bool display_alerts = true;
  std::optional<CodePage> code_page;

  void RequireOpen() const {
    if (!open) Fail(ErrorCode::kNotOpen, "The workbook " + path + " is closed.");
  }
};

// Hands the cells of one block of a worksheet to the writer.
class SheetBlock final : public CellGrid {
 public:
  SheetBlock(const SheetData& sheet, CellRange block, DateSystem dates)
      : sheet_(sheet), block_(block), dates_(dates) {}
  uint32_t rows() const override { return block_.last_row - block_.first_row + 1; }
  uint32_t columns() const override { return block_.last_column - block_.first_column + 1; }
  CellValue at(uint32_t row, uint32_t column) const override {
    return sheet_.cell(block_.first_row + row, block_.first_column + column);
  }
  void RowAt(uint32_t row, std::span<CellValue> out) const override {
    sheet_.ReadRow(block_.first_row + row, block_.first_column, out);
  }
  DateSystem date_system() const override { return dates_; }
  bool reads_concurrently() const override { return true; }  // the store is not changed by reading

 private:
  const SheetData& sheet_;
  CellRange block_;
  DateSystem dates_;
};

const SheetData& LoadSheet(BookState& book, size_t index) {
  book.RequireOpen();
  Result<const SheetData*> sheet = book.file->worksheet(index);
  if (!sheet.ok()) throw AutomationError(sheet.status());
  return *sheet.value();
}

uint32_t ToZeroBased(int32_t one_based, const char* what) {
  if (one_based < 1) {
    Fail(ErrorCode::kBadIndex, std::string("The ") + what + " number " +
                                   std::to_string(one_based) + " is out of range.");
  }
  return static_cast<uint32_t>(one_based - 1);
}

class EngineRange final : public Range {
 public:
  EngineRange(std::shared_ptr<BookState> book, size_t sheet, CellRange block)
      : book_(std::move(book)), sheet_(sheet), block_(block) {}

  int32_t RowsCount() override {
    book_->RequireOpen();
    return static_cast<int32_t>(block_.last_row - block_.first_row + 1);
  }
  int32_t ColumnsCount() override {
    book_->RequireOpen();
    return static_cast<int32_t>(block_.last_column - block_.first_column + 1);
  }
  std::shared_ptr<Range> Cells(int32_t row, int32_t column) override {
    book_->RequireOpen();
    const uint64_t r = uint64_t{block_.first_row} + ToZeroBased(row, "row");
    const uint64_t c = uint64_t{block_.first_column} + ToZeroBased(column, "column");
    if (r > UINT32_MAX || c > UINT32_MAX) Fail(ErrorCode::kBadIndex, "The cell lies outside the worksheet.");
    const CellRange cell{static_cast<uint32_t>(r), static_cast<uint32_t>(c),
                         static_cast<uint32_t>(r), static_cast<uint32_t>(c)};
    return std::make_shared<EngineRange>(book_, sheet_, cell);
  }
  std::string Address() override {
    book_->RequireOpen();
    return AbsoluteAddress({block_.first_row, block_.first_column});
  }
  CellVariant Value() override {
    const SheetData& sheet = LoadSheet(*book_, sheet_);
    const CellValue cell = sheet.cell(block_.first_row, block_.first_column);
    return CellVariant{cell.kind, cell.number, std::string(cell.text)};
  }
  void Select() override {
    book_->RequireOpen();
    book_->selections[sheet_] = block_;
  }

 private:
  std::shared_ptr<BookState> book_;
  size_t sheet_;
  CellRange block_;
};

std::optional<DbfLevel> LevelOf(int32_t file_format) { return DbfLevelFromFileFormat(file_format); }

class EngineWorksheet final : public Worksheet {
 public:
  EngineWorksheet(std::shared_ptr<BookState> book, size_t index)
      : book_(std::move(book)), index_(index) {}

  std::string Name() override {
    book_->RequireOpen();
    return book_->file->worksheet_name(index_);
  }
  void Activate() override {
    book_->RequireOpen();
    // A saved worksheet's cells are read again only if asked for again, so a
    // workbook needs the memory of one worksheet at a time, not of all.
    const size_t previous = book_->active;
    if (previous != index_ && book_->saved[previous]) {
      book_->file->release_worksheet(previous);
      book_->saved[previous] = false;
    }
    book_->active = index_;
  }
  int64_t LastSaveReplacedCharacters() override { return book_->replaced[index_]; }
  std::shared_ptr<Range> UsedRange() override {
    const SheetData& sheet = LoadSheet(*book_, index_);
    return std::make_shared<EngineRange>(book_, index_, sheet.used_range());
  }
  std::shared_ptr<Range> Cells(int32_t row, int32_t column) override {
    book_->RequireOpen();
    const uint32_t r = ToZeroBased(row, "row");
    const uint32_t c = ToZeroBased(column, "column");
    return std::make_shared<EngineRange>(book_, index_, CellRange{r, c, r, c});
  }
  std::shared_ptr<Range> RangeOf(const std::string& first, const std::string& last) override {
    book_->RequireOpen();
    const auto a = ParseAddress(first);
    const auto b = ParseAddress(last);
    if (!a || !b) Fail(ErrorCode::kBadAddress, "\"" + (a ? last : first) + "\" is not a cell address.");
    const CellRange block{std::min(a->row, b->row), std::min(a->column, b->column),
                          std::max(a->row, b->row), std::max(a->column, b->column)};
    return std::make_shared<EngineRange>(book_, index_, block);
  }
  void ColumnsAutoFit() override {
    // Column widths live in the workbook's view, not in the tables: the
    // table's field widths follow from the values alone.
    book_->RequireOpen();
  }
  void SaveAs(const std::string& path, int32_t file_format) override {
    const SheetData& sheet = LoadSheet(*book_, index_);
    const std::optional<DbfLevel> level = LevelOf(file_format);
    if (!level) {
      Fail(ErrorCode::kBadFileFormat, "The file format " + std::to_string(file_format) +
                                          " is not a dBASE format (7, 8 or 11).");
    }
    if (book_->display_alerts && std::filesystem::exists(platform::NativePath(path))) {
      // Nobody can be asked whether to replace it.
      Fail(ErrorCode::kWriteFailed, "The file " + path + " already exists.");
    }
    DbfOptions options;
    options.level = *level;
    if (book_->code_page) options.code_page = *book_->code_page;
    const CellRange block = book_->selections[index_].value_or(sheet.used_range());
    const SheetBlock grid(sheet, block, book_->file->date_system());
    SaveStatistics statistics;
    book_->replaced[index_] = 0;
    const Status saved = WriteDbfTable(grid, platform::NativePath(path), options, &statistics);
    book_->saved[index_] = true;
    if (!saved.ok()) throw AutomationError(saved);
    book_->replaced[index_] = statistics.replaced_characters;
  }

 private:
  std::shared_ptr<BookState> book_;
  size_t index_;
};

class EngineWorkbook final : public Workbook {
 public:
  explicit EngineWorkbook(std::shared_ptr<BookState> book) : book_(std::move(book)) {}

  int32_t WorksheetsCount() override {
    book_->RequireOpen();
    const size_t count = book_->file->worksheet_count();
    return count > static_cast<size_t>(kMaxIndex) ? kMaxIndex : static_cast<int32_t>(count);
  }
  std::shared_ptr<Worksheet> Worksheets(int32_t index) override {
    book_->RequireOpen();
    if (index < 1 || static_cast<size_t>(index) > book_->file->worksheet_count()) {
      Fail(ErrorCode::kBadIndex, "The workbook " + book_->path + " has no worksheet " +
                                     std::to_string(index) + ".");
    }
    return std::make_shared<EngineWorksheet>(book_, static_cast<size_t>(index - 1));
  }
  void Close() override {
    if (!book_->open) return;
    book_->open = false;
    book_->file.reset();
  }

 private:
  std::shared_ptr<BookState> book_;
};

class EngineApplication final : public Application {
 public:
  std::shared_ptr<Workbook> WorkbooksOpen(const std::string& path) override {
    RequireRunning();
    Result<std::unique_ptr<WorkbookFile>> file = WorkbookFile::Open(platform::NativePath(path));
    if (!file.ok()) throw AutomationError(file.status());
    auto book = std::make_shared<BookState>();
    book->path = path;
    book->selections.resize(file.value()->worksheet_count());
    book->replaced.resize(file.value()->worksheet_count());
    book->saved.resize(file.value()->worksheet_count());
    book->file = std::move(file).value();
    book->display_alerts = display_alerts_;
    book->code_page = code_page_;
    books_.push_back(book);
    return std::make_shared<EngineWorkbook>(book);
  }
  void SetDisplayAlerts(bool display) override {
    RequireRunning();
    display_alerts_ = display;
    for (const auto& book : books_) book->display_alerts = display;
  }
  void SetTableCodePage(const std::string& code_page) override {
    RequireRunning();
    const std::optional<CodePage> parsed = ParseCodePage(code_page);
    if (!parsed) Fail(ErrorCode::kBadCodePage, "\"" + code_page + "\" is not a known code page.");
    code_page_ = parsed;
    for (const auto& book : books_) book->code_page = parsed;
  }
  void Quit() override {
    // Quitting closes whatever is still open.
    for (const auto& book : books_) {
      book->open = false;
      book->file.reset();
    }
    books_.clear();
    running_ = false;
  }

 private:
  void RequireRunning() const {
    if (!running_) Fail(ErrorCode::kNotOpen, "The application has quit.");
  }
  std::vector<std::shared_ptr<BookState>> books_;
  bool display_alerts_ = true;
  std::optional<CodePage> code_page_;
  bool running_ = true;
};

class EngineFactory final : public ApplicationFactory {
 public:
  std::shared_ptr<Application> CreateObject(std::string_view class_name) override {
    if (class_name != kApplicationClass) {
      Fail(ErrorCode::kServerUnavailable,
           "Cannot create the object \"" + std::string(class_name) + "\".");
    }
    return std::make_shared<EngineApplication>();
  }
};

}  // namespace

ApplicationFactory& EngineApplicationFactory() {
  static EngineFactory factory;
  return factory;
}

}  // namespace dravella::engine
