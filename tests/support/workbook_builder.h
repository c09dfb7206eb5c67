// Writes whole .xls workbooks from code: the test fixtures of the reader and
// the converter, the benchmark's workbook and the bundled examples.
//
//   WorkbookBuilder book;                          // BIFF8 by default
//   SheetBuilder& sheet = book.AddSheet("Orders");
//   sheet.Text(0, 0, "Id").Text(0, 1, "Date");
//   sheet.Rk(1, 0, 1001).Number(1, 1, 45000, book.DateXf());
//   book.WriteTo(path);
//
// The defaults give what Excel writes at the least: BOF, CODEPAGE, DATEMODE,
// fonts, the 15 style XFs and one cell XF, the sheet list with the right
// stream offsets, SST and EXTSST (BIFF8), EOF; every worksheet BOF,
// DIMENSIONS (from the cells), the cells in the order they were added,
// WINDOW2, EOF. Versions:
//
//   kBiff8           "Workbook" stream in a compound file
//   kBiff5           "Book" stream in a compound file (byte strings)
//   kBiff4Workbook   several BIFF4 worksheets in one plain stream
//   kBiff2..kBiff4   a plain single-worksheet stream (the file's name names it)
//
// Options exist to write what Excel would not (a lying DIMENSIONS record,
// FILEPASS, a missing CODEPAGE, odd record limits) for reader tests. Misuse
// (a record the version lacks, a text the code page cannot hold) throws
// std::invalid_argument or std::logic_error: a fixture is always deliberate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/biff_writer.h"
#include "tests/support/byte_writer.h"
#include "tests/support/compound_file_builder.h"
#include "tests/support/rk_value.h"

namespace dravella::testing {

enum class BiffVersion : uint8_t { kBiff2, kBiff3, kBiff4, kBiff4Workbook, kBiff5, kBiff8 };

// The sheet types of BOUNDSHEET (and of the substream's BOF).
enum class SheetKind : uint8_t { kWorksheet, kMacroSheet, kChart, kVbaModule };
enum class SheetVisibility : uint8_t { kVisible = 0, kHidden = 1, kVeryHidden = 2 };

// The error values of BOOLERR cells and formula results.
enum class CellError : uint8_t {
  kNull = 0x00,
  kDiv0 = 0x07,
  kValue = 0x0F,
  kRef = 0x17,
  kName = 0x1D,
  kNum = 0x24,
  kNA = 0x2A,
};

// A cell format index meaning "the workbook's default cell XF".
inline constexpr uint16_t kDefaultXf = 0xFFFF;

// A rich-text run: from character `first_char` on, font `font`.
struct FormattingRun {
  uint16_t first_char = 0;
  uint16_t font = 0;
};

// One SST entry (BIFF8).
struct SharedString {
  std::string text;                  // UTF-8
  std::vector<FormattingRun> runs;   // rich-text runs, written after the characters
  std::vector<uint8_t> phonetic;     // the ExtRst block as stored; empty for none
};

// An ExtRst block holding `reading` as the phonetic text of a whole string
// of `text_length` characters, for SharedString::phonetic.
std::vector<uint8_t> PhoneticBlock(std::u16string_view reading, uint16_t text_length);

// What follows a FORMULA record besides a STRING record.
enum class FormulaTail : uint8_t {
  kNone,
  kSharedFormula,  // FORMULA holds ptgExp; SHRFMLA after it holds the tokens
  kArray,          // FORMULA holds ptgExp; ARRAY after it holds the tokens
};

struct FormulaOptions {
  // The parsed formula. Empty: a constant that gives the cached value
  // (ptgNum, ptgBool, ptgErr, ptgStr).
  std::vector<uint8_t> tokens = {};
  FormulaTail tail = FormulaTail::kNone;
  uint16_t flags = 0;  // FORMULA option flags; fShrFmla is added for a shared formula
};

// Offsets in the workbook stream, for tests that damage it on purpose.
struct StreamLayout {
  std::vector<size_t> sheet_offsets;       // each sheet's BOF record
  std::vector<size_t> boundsheet_offsets;  // each BOUNDSHEET record's header
  std::optional<size_t> sst_offset;        // SST record header (BIFF8)
  std::optional<size_t> extsst_offset;     // EXTSST record header (BIFF8)
  // The workbook globals' EOF record; in a BIFF2-4 worksheet file the
  // stream's only EOF (the stream's end when OmitEof left it out).
  size_t globals_eof_offset = 0;
};

struct WorkbookSettings;  // shared by a workbook and its sheets

// The records of one sheet. Get one from WorkbookBuilder::AddSheet; it lives
// as long as its workbook. Rows and columns count from 0. Each call appends
// its record(s) at once, in call order.
class SheetBuilder {
 public:
  SheetBuilder(const SheetBuilder&) = delete;
  SheetBuilder& operator=(const SheetBuilder&) = delete;

  const std::string& name() const { return name_; }
  SheetKind kind() const { return kind_; }
  SheetVisibility visibility() const { return visibility_; }

  // Numbers.
  SheetBuilder& Number(uint16_t row, uint16_t col, double value, uint16_t xf = kDefaultXf);
  // RK (BIFF3 on). Throws when the form cannot hold the value exactly.
  SheetBuilder& Rk(uint16_t row, uint16_t col, double value, RkForm form = RkForm::kAuto,
                   uint16_t xf = kDefaultXf);
  SheetBuilder& RkRaw(uint16_t row, uint16_t col, uint32_t rk, uint16_t xf = kDefaultXf);
  // MULRK (BIFF5 on): values in consecutive columns from `first_col`.
  SheetBuilder& MulRk(uint16_t row, uint16_t first_col, std::span<const double> values,
                      uint16_t xf = kDefaultXf);
  // INTEGER (BIFF2 only).
  SheetBuilder& Integer(uint16_t row, uint16_t col, uint16_t value, uint16_t xf = kDefaultXf);

  // Text the way the version stores it: LABELSST into the SST in BIFF8
  // (equal texts share one entry), LABEL in the code page before.
  SheetBuilder& Text(uint16_t row, uint16_t col, std::string_view utf8, uint16_t xf = kDefaultXf);
  // LABELSST pointing at any index, in range or not (BIFF8).
  SheetBuilder& SharedStringCell(uint16_t row, uint16_t col, uint32_t sst_index, uint16_t xf = kDefaultXf);
  // LABEL in any version (BIFF8: a Unicode string).
  SheetBuilder& Label(uint16_t row, uint16_t col, std::string_view utf8, uint16_t xf = kDefaultXf);
  // LABEL with these bytes as the text, not converted (BIFF2-BIFF5).
  SheetBuilder& LabelBytes(uint16_t row, uint16_t col, std::string_view bytes, uint16_t xf = kDefaultXf);
  // RSTRING: text with formatting runs (BIFF5 on).
  SheetBuilder& RichText(uint16_t row, uint16_t col, std::string_view utf8,
                         std::span<const FormattingRun> runs, uint16_t xf = kDefaultXf);

  // Blank cells, booleans and errors.
  SheetBuilder& Blank(uint16_t row, uint16_t col, uint16_t xf = kDefaultXf);
  // MULBLANK (BIFF5 on): columns first_col..last_col.
  SheetBuilder& MulBlank(uint16_t row, uint16_t first_col, uint16_t last_col, uint16_t xf = kDefaultXf);
  SheetBuilder& Boolean(uint16_t row, uint16_t col, bool value, uint16_t xf = kDefaultXf);
  SheetBuilder& Error(uint16_t row, uint16_t col, CellError error, uint16_t xf = kDefaultXf);

  // Formulas with their cached result.
  SheetBuilder& FormulaNumber(uint16_t row, uint16_t col, double cached, const FormulaOptions& options = {},
                              uint16_t xf = kDefaultXf);
  // Followed by a STRING record holding the text.
  SheetBuilder& FormulaText(uint16_t row, uint16_t col, std::string_view cached,
                            const FormulaOptions& options = {}, uint16_t xf = kDefaultXf);
  SheetBuilder& FormulaBoolean(uint16_t row, uint16_t col, bool cached, const FormulaOptions& options = {},
                               uint16_t xf = kDefaultXf);
  SheetBuilder& FormulaError(uint16_t row, uint16_t col, CellError cached,
                             const FormulaOptions& options = {}, uint16_t xf = kDefaultXf);
  // BIFF8: the empty-string result, no STRING record. Before BIFF8: a text
  // result with an empty STRING record.
  SheetBuilder& FormulaEmptyText(uint16_t row, uint16_t col, const FormulaOptions& options = {},
                                 uint16_t xf = kDefaultXf);

  // Any record, here in the cell sequence (split into CONTINUE records when
  // over the limit).
  SheetBuilder& Record(uint16_t id, std::span<const uint8_t> payload);

  // DIMENSIONS as given instead of from the cells: rows first..last+1,
  // columns first..last+1, as the record stores them.
  SheetBuilder& SetDimensions(uint32_t first_row, uint32_t end_row, uint16_t first_col, uint16_t end_col);
  SheetBuilder& OmitDimensions();
  SheetBuilder& OmitWindow2();
  // The substream stops after its last cell: no WINDOW2, no EOF.
  SheetBuilder& OmitEof();
  // BOUNDSHEET points here instead of at the sheet's BOF.
  SheetBuilder& SetBoundSheetOffset(uint32_t offset);

  // The cells' bounding box so far: first row, last row, first col, last col.
  struct Bounds {
    uint32_t first_row = 0, last_row = 0;
    uint16_t first_col = 0, last_col = 0;
  };
  std::optional<Bounds> bounds() const { return bounds_; }

 private:
  friend class WorkbookBuilder;
  SheetBuilder(WorkbookSettings* settings, std::string name, SheetKind kind, SheetVisibility visibility);

  void Touch(uint16_t row, uint16_t col);
  void Require(BiffVersion first, const char* what) const;
  void CellHeader(ByteWriter& out, uint16_t row, uint16_t col, uint16_t xf) const;
  void AppendFormula(uint16_t row, uint16_t col, std::span<const uint8_t> result,
                     const FormulaOptions& options, std::vector<uint8_t> default_tokens, uint16_t xf);
  void AppendStringRecord(std::string_view utf8);
  std::string ByteText(std::string_view utf8) const;

  WorkbookSettings* settings_;
  std::string name_;
  SheetKind kind_;
  SheetVisibility visibility_;
  BiffWriter cells_;
  std::optional<Bounds> bounds_;
  std::optional<Bounds> dimensions_override_;
  bool omit_dimensions_ = false;
  bool omit_window2_ = false;
  bool omit_eof_ = false;
  std::optional<uint32_t> boundsheet_offset_;
};

class WorkbookBuilder {
 public:
  explicit WorkbookBuilder(BiffVersion version = BiffVersion::kBiff8);
  ~WorkbookBuilder();
  WorkbookBuilder(WorkbookBuilder&&) noexcept;
  WorkbookBuilder& operator=(WorkbookBuilder&&) noexcept;

  BiffVersion version() const;

  // Sheets, in workbook order. BIFF2-BIFF4 files hold exactly one.
  SheetBuilder& AddSheet(std::string name, SheetKind kind = SheetKind::kWorksheet,
                         SheetVisibility visibility = SheetVisibility::kVisible);
  SheetBuilder& sheet(size_t index);
  size_t sheet_count() const { return sheets_.size(); }

  // Number formats and cell formats. AddFormat writes a FORMAT record and
  // returns its number: 164 on in BIFF5/BIFF8, its position before (BIFF2-4
  // number formats by order; "General" is 0). AddXf adds a cell XF with that
  // number format and returns its index. DateXf is a cell XF with the date
  // format m/d/yy (built-in 14 from BIFF5 on).
  uint16_t AddFormat(std::string format_string);
  uint16_t AddXf(uint16_t format_id);
  uint16_t DateXf();
  uint16_t default_xf() const;

  // Shared strings (BIFF8). AddSharedString always appends an entry;
  // SheetBuilder::Text reuses an equal plain one.
  uint32_t AddSharedString(SharedString entry);
  // SST's total-references and unique-count fields as given (lies for tests).
  WorkbookBuilder& SetSstCounts(uint32_t total, uint32_t unique);
  // Continued SST strings whose rest fits in one byte per character are
  // written compressed.
  WorkbookBuilder& SetSstRecompressContinuations(bool on = true);
  WorkbookBuilder& OmitExtSst();

  // Workbook globals. Set the code page before adding text: LABEL texts are
  // converted when added. Defaults: 1200 in BIFF8, 1252 before.
  WorkbookBuilder& SetCodepage(uint16_t codepage);
  WorkbookBuilder& OmitCodepage();
  WorkbookBuilder& SetDateMode1904(bool on = true);
  // FILEPASS right after the first BOF (RC4 header in BIFF8, XOR before);
  // the records after it are left readable.
  WorkbookBuilder& SetEncrypted(bool on = true);
  // A record written among the globals, after the formats and before the
  // sheet list (in BIFF2-4: before DIMENSIONS).
  WorkbookBuilder& AddGlobalsRecord(uint16_t id, std::vector<uint8_t> payload);
  // The record payload limit (default 8224 in BIFF8, 2080 before). Set it
  // before adding sheets; a small one makes CONTINUE records easy to test.
  WorkbookBuilder& SetMaxRecordPayload(size_t bytes);
  // Zeros after the last EOF up to this stream size (Excel pads to 4096 so
  // the stream leaves the mini stream).
  WorkbookBuilder& PadStreamTo(size_t bytes);

  // The container (BIFF5/BIFF8).
  WorkbookBuilder& SetCompoundFileVersion(CfbVersion version);
  WorkbookBuilder& SetStreamName(std::string name);  // default "Workbook" / "Book"
  WorkbookBuilder& AddStream(std::string name, std::vector<uint8_t> bytes);  // beside the workbook
  WorkbookBuilder& SetPlainStream(bool on = true);  // the workbook stream alone, no compound file

  // Output.
  std::vector<uint8_t> BuildStream(StreamLayout* layout = nullptr) const;
  std::vector<uint8_t> Build(CompoundFileLayout* container_layout = nullptr) const;
  // Writes Build() to a file; throws std::runtime_error on failure.
  void WriteTo(const std::filesystem::path& path) const;

 private:
  void AppendFormatting(BiffWriter& out) const;
  void AppendSheet(BiffWriter& out, const SheetBuilder& sheet, bool first) const;
  void AppendSst(BiffWriter& out, StreamLayout& layout) const;
  std::vector<uint8_t> BuildSingleSheetStream(StreamLayout& layout) const;
  std::vector<uint8_t> BuildBiff4WorkbookStream(StreamLayout& layout) const;
  std::vector<uint8_t> BuildWorkbookStream(StreamLayout& layout) const;

  std::unique_ptr<WorkbookSettings> settings_;
  std::vector<std::unique_ptr<SheetBuilder>> sheets_;
};

}  // namespace dravella::testing
