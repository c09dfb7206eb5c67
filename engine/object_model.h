// The spreadsheet application's object model, as the converters drive it:
// an application opens workbooks; a workbook has worksheets; a worksheet has
// its used range, cells and a selection, and is saved as a dBASE table.
//
// Every call may throw AutomationError. Objects are shared references, like
// the automation objects they stand for: a worksheet keeps its workbook alive.
// The converters use only these interfaces, so tests can drive them with a
// double; the engine's own application reads .xls files and writes tables.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/cell.h"

namespace dravella::engine {

// A value read from a cell; an empty cell and an empty text are both kEmpty.
struct CellVariant {
  CellKind kind = CellKind::kEmpty;
  double number = 0;
  std::string text;
};

// File format codes of SaveAs.
inline constexpr int32_t kFileFormatDbase2 = 7;
inline constexpr int32_t kFileFormatDbase3 = 8;
inline constexpr int32_t kFileFormatDbase4 = 11;

class Range {
 public:
  virtual ~Range() = default;
  virtual int32_t RowsCount() = 0;
  virtual int32_t ColumnsCount() = 0;
  // One cell of the range, counted from 1 at its top left.
  virtual std::shared_ptr<Range> Cells(int32_t row, int32_t column) = 0;
  // The absolute A1 address of the range's first cell, such as "$C$5".
  virtual std::string Address() = 0;
  // The value of the range's first cell.
  virtual CellVariant Value() = 0;
  // Makes the range the worksheet's selection.
  virtual void Select() = 0;
};

class Worksheet {
 public:
  virtual ~Worksheet() = default;
  virtual std::string Name() = 0;
  virtual void Activate() = 0;
  virtual std::shared_ptr<Range> UsedRange() = 0;
  // One cell of the worksheet, counted from 1 (row, column).
  virtual std::shared_ptr<Range> Cells(int32_t row, int32_t column) = 0;
  // The block between two addresses such as "$A$1" and "$C$5".
  virtual std::shared_ptr<Range> RangeOf(const std::string& first, const std::string& last) = 0;
  // Fits the column widths to their content.
  virtual void ColumnsAutoFit() = 0;
  // Saves the selection (the used range without one) as a dBASE table.
  virtual void SaveAs(const std::string& path, int32_t file_format) = 0;
  // How many characters the last SaveAs of this worksheet wrote as '?'
  // because the table's code page cannot hold them.
  virtual int64_t LastSaveReplacedCharacters() { return 0; }
};

class Workbook {
 public:
  virtual ~Workbook() = default;
  virtual int32_t WorksheetsCount() = 0;
  // Worksheet i, counted from 1 in the workbook's order.
  virtual std::shared_ptr<Worksheet> Worksheets(int32_t index) = 0;
  virtual void Close() = 0;
};

class Application {
 public:
  virtual ~Application() = default;
  virtual std::shared_ptr<Workbook> WorkbooksOpen(const std::string& path) = 0;
  // With alerts off, a save over an existing file replaces it without a question.
  virtual void SetDisplayAlerts(bool display) = 0;
  // The code page of the tables this application writes, by any spelling the
  // code page table knows ("936", "cp936", "utf8", "65001").
  virtual void SetTableCodePage(const std::string& code_page) = 0;
  virtual void Quit() = 0;
};

// Creates application objects by class name; tests replace it with a double.
class ApplicationFactory {
 public:
  virtual ~ApplicationFactory() = default;
  virtual std::shared_ptr<Application> CreateObject(std::string_view class_name) = 0;
};

// The class name the converters ask for.
inline constexpr std::string_view kApplicationClass = "Excel.Application";

// The engine's own application: reads .xls workbooks, writes dBASE tables.
ApplicationFactory& EngineApplicationFactory();

}  // namespace dravella::engine
