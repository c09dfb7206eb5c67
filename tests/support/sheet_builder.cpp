// SheetBuilder: the cell records of one sheet, encoded as they are added.
#include <algorithm>
#include <stdexcept>
#include <string>

#include "tests/support/biff_record_ids.h"
#include "tests/support/byte_writer.h"
#include "tests/support/text_encoding.h"
#include "tests/support/workbook_builder.h"
#include "tests/support/workbook_settings.h"

namespace dravella::testing {
namespace {

// Formula tokens.
constexpr uint8_t kPtgExp = 0x01;
constexpr uint8_t kPtgConcat = 0x08;
constexpr uint8_t kPtgStr = 0x17;
constexpr uint8_t kPtgErr = 0x1C;
constexpr uint8_t kPtgBool = 0x1D;
constexpr uint8_t kPtgNum = 0x1F;
constexpr size_t kMaxFormulaTokens = 1800;  // Excel's limit on a parsed formula
constexpr size_t kMaxPtgStrChars = 255;

// Cached results that are not numbers: byte 0 says which, bytes 6-7 are
// 0xFFFF so the eight bytes are no valid double.
enum ResultType : uint8_t { kResultText = 0, kResultBoolean = 1, kResultError = 2, kResultEmpty = 3 };

std::vector<uint8_t> SpecialResult(ResultType type, uint8_t value = 0) {
  return {type, 0, value, 0, 0, 0, 0xFF, 0xFF};
}

constexpr uint8_t kFormulaSharedFlag = 0x08;

const char* VersionName(BiffVersion version) {
  switch (version) {
    case BiffVersion::kBiff2: return "BIFF2";
    case BiffVersion::kBiff3: return "BIFF3";
    case BiffVersion::kBiff4: return "BIFF4";
    case BiffVersion::kBiff4Workbook: return "BIFF4 workbooks";
    case BiffVersion::kBiff5: return "BIFF5";
    case BiffVersion::kBiff8: return "BIFF8";
  }
  return "?";
}

}  // namespace

SheetBuilder::SheetBuilder(WorkbookSettings* settings, std::string name, SheetKind kind,
                           SheetVisibility visibility)
    : settings_(settings),
      name_(std::move(name)),
      kind_(kind),
      visibility_(visibility),
      cells_(settings->max_payload) {}

void SheetBuilder::Require(BiffVersion first, const char* what) const {
  if (!settings_->AtLeast(first)) {
    throw std::logic_error(std::string(what) + " does not exist in " + VersionName(settings_->version) +
                           "; it needs " + VersionName(first) + " or later");
  }
}

void SheetBuilder::Touch(uint16_t row, uint16_t col) {
  if (!bounds_) {
    bounds_ = Bounds{row, row, col, col};
    return;
  }
  bounds_->first_row = std::min<uint32_t>(bounds_->first_row, row);
  bounds_->last_row = std::max<uint32_t>(bounds_->last_row, row);
  bounds_->first_col = std::min(bounds_->first_col, col);
  bounds_->last_col = std::max(bounds_->last_col, col);
}

void SheetBuilder::CellHeader(ByteWriter& out, uint16_t row, uint16_t col, uint16_t xf) const {
  if (xf == kDefaultXf) xf = settings_->default_xf;
  out.U16(row).U16(col);
  if (settings_->version != BiffVersion::kBiff2) {
    out.U16(xf);
    return;
  }
  // BIFF2 cell attributes: XF index (6 bits), then the number format and
  // font, then alignment and borders.
  if (xf >= 63) throw std::invalid_argument("a BIFF2 cell refers to XF 0-62 directly");
  out.U8(static_cast<uint8_t>(xf));
  out.U8(static_cast<uint8_t>(settings_->FormatOfXf(xf) & 0x3F));
  out.U8(0);
}

std::string SheetBuilder::ByteText(std::string_view utf8) const {
  return EncodeForCodepage(utf8, settings_->ByteStringCodepage());
}

SheetBuilder& SheetBuilder::Number(uint16_t row, uint16_t col, double value, uint16_t xf) {
  ByteWriter out(16);
  CellHeader(out, row, col, xf);
  out.F64(value);
  cells_.Append(settings_->version == BiffVersion::kBiff2 ? record::kNumber2 : record::kNumber, out.bytes());
  Touch(row, col);
  return *this;
}

SheetBuilder& SheetBuilder::Rk(uint16_t row, uint16_t col, double value, RkForm form, uint16_t xf) {
  const std::optional<uint32_t> rk = EncodeRk(value, form);
  if (!rk) throw std::invalid_argument("the value " + std::to_string(value) + " has no RK form as asked");
  return RkRaw(row, col, *rk, xf);
}

SheetBuilder& SheetBuilder::RkRaw(uint16_t row, uint16_t col, uint32_t rk, uint16_t xf) {
  Require(BiffVersion::kBiff3, "RK");
  ByteWriter out(10);
  CellHeader(out, row, col, xf);
  out.U32(rk);
  cells_.Append(record::kRk, out.bytes());
  Touch(row, col);
  return *this;
}

SheetBuilder& SheetBuilder::MulRk(uint16_t row, uint16_t first_col, std::span<const double> values,
                                  uint16_t xf) {
  Require(BiffVersion::kBiff5, "MULRK");
  if (values.size() < 2) throw std::invalid_argument("MULRK holds at least two cells");
  if (xf == kDefaultXf) xf = settings_->default_xf;
  ByteWriter out(6 + 6 * values.size());
  out.U16(row).U16(first_col);
  for (double value : values) {
    const std::optional<uint32_t> rk = EncodeRk(value);
    if (!rk) throw std::invalid_argument("the value " + std::to_string(value) + " has no RK form");
    out.U16(xf).U32(*rk);
  }
  const auto last_col = static_cast<uint16_t>(first_col + values.size() - 1);
  out.U16(last_col);
  cells_.Append(record::kMulRk, out.bytes());
  Touch(row, first_col);
  Touch(row, last_col);
  return *this;
}

SheetBuilder& SheetBuilder::Integer(uint16_t row, uint16_t col, uint16_t value, uint16_t xf) {
  if (settings_->version != BiffVersion::kBiff2) throw std::logic_error("INTEGER exists in BIFF2 only");
  ByteWriter out(9);
  CellHeader(out, row, col, xf);
  out.U16(value);
  cells_.Append(record::kInteger2, out.bytes());
  Touch(row, col);
  return *this;
}

SheetBuilder& SheetBuilder::Text(uint16_t row, uint16_t col, std::string_view utf8, uint16_t xf) {
  if (!settings_->IsBiff8()) return Label(row, col, utf8, xf);
  const uint32_t index = settings_->sst.Intern(utf8);
  return SharedStringCell(row, col, index, xf);
}

SheetBuilder& SheetBuilder::SharedStringCell(uint16_t row, uint16_t col, uint32_t sst_index, uint16_t xf) {
  if (!settings_->IsBiff8()) throw std::logic_error("LABELSST exists in BIFF8 only");
  ByteWriter out(10);
  CellHeader(out, row, col, xf);
  out.U32(sst_index);
  cells_.Append(record::kLabelSst, out.bytes());
  settings_->sst.CountReference();
  Touch(row, col);
  return *this;
}

SheetBuilder& SheetBuilder::Label(uint16_t row, uint16_t col, std::string_view utf8, uint16_t xf) {
  if (!settings_->IsBiff8()) return LabelBytes(row, col, ByteText(utf8), xf);
  const std::u16string text = Utf8ToUtf16(utf8);
  if (text.size() > 0xFFFF) throw std::invalid_argument("a LABEL holds at most 65535 characters");
  const bool wide = !FitsInLatin1(text);
  ByteWriter head(9);
  CellHeader(head, row, col, xf);
  head.U16(static_cast<uint16_t>(text.size())).U8(wide ? 1 : 0);
  ContinuedRecord label(record::kLabel, settings_->max_payload);
  label.Atomic(head.bytes());
  label.Characters(text, wide);
  label.WriteTo(cells_);
  Touch(row, col);
  return *this;
}

SheetBuilder& SheetBuilder::LabelBytes(uint16_t row, uint16_t col, std::string_view bytes, uint16_t xf) {
  if (settings_->IsBiff8()) throw std::logic_error("BIFF8 LABEL texts are Unicode; use Label");
  ByteWriter out(9 + bytes.size());
  CellHeader(out, row, col, xf);
  if (settings_->version == BiffVersion::kBiff2) {
    if (bytes.size() > 255) throw std::invalid_argument("a BIFF2 LABEL holds at most 255 bytes");
    out.U8(static_cast<uint8_t>(bytes.size()));
  } else {
    if (bytes.size() > 0xFFFF) throw std::invalid_argument("a LABEL holds at most 65535 bytes");
    out.U16(static_cast<uint16_t>(bytes.size()));
  }
  out.Bytes(bytes);
  cells_.Append(settings_->version == BiffVersion::kBiff2 ? record::kLabel2 : record::kLabel, out.bytes());
  Touch(row, col);
  return *this;
}

SheetBuilder& SheetBuilder::RichText(uint16_t row, uint16_t col, std::string_view utf8,
                                     std::span<const FormattingRun> runs, uint16_t xf) {
  Require(BiffVersion::kBiff5, "RSTRING");
  ByteWriter out;
  CellHeader(out, row, col, xf);
  if (settings_->IsBiff8()) {
    const std::u16string text = Utf8ToUtf16(utf8);
    const bool wide = !FitsInLatin1(text);
    out.U16(static_cast<uint16_t>(text.size())).U8(wide ? 1 : 0);
    if (wide) {
      out.Utf16(text);
    } else {
      out.Latin1(text);
    }
    out.U16(static_cast<uint16_t>(runs.size()));
    for (const FormattingRun& run : runs) out.U16(run.first_char).U16(run.font);
  } else {
    const std::string bytes = ByteText(utf8);
    if (runs.size() > 255) throw std::invalid_argument("a BIFF5 RSTRING holds at most 255 runs");
    out.U16(static_cast<uint16_t>(bytes.size())).Bytes(bytes);
    out.U8(static_cast<uint8_t>(runs.size()));
    for (const FormattingRun& run : runs) {
      out.U8(static_cast<uint8_t>(run.first_char)).U8(static_cast<uint8_t>(run.font));
    }
  }
  cells_.Append(record::kRString, out.bytes());
  Touch(row, col);
  return *this;
}

SheetBuilder& SheetBuilder::Blank(uint16_t row, uint16_t col, uint16_t xf) {
  ByteWriter out(7);
  CellHeader(out, row, col, xf);
  cells_.Append(settings_->version == BiffVersion::kBiff2 ? record::kBlank2 : record::kBlank, out.bytes());
  Touch(row, col);
  return *this;
}

SheetBuilder& SheetBuilder::MulBlank(uint16_t row, uint16_t first_col, uint16_t last_col, uint16_t xf) {
  Require(BiffVersion::kBiff5, "MULBLANK");
  if (last_col <= first_col) throw std::invalid_argument("MULBLANK holds at least two cells");
  if (xf == kDefaultXf) xf = settings_->default_xf;
  ByteWriter out;
  out.U16(row).U16(first_col);
  for (uint32_t col = first_col; col <= last_col; ++col) out.U16(xf);
  out.U16(last_col);
  cells_.Append(record::kMulBlank, out.bytes());
  Touch(row, first_col);
  Touch(row, last_col);
  return *this;
}

SheetBuilder& SheetBuilder::Boolean(uint16_t row, uint16_t col, bool value, uint16_t xf) {
  ByteWriter out(9);
  CellHeader(out, row, col, xf);
  out.U8(value ? 1 : 0).U8(0);
  cells_.Append(settings_->version == BiffVersion::kBiff2 ? record::kBoolErr2 : record::kBoolErr, out.bytes());
  Touch(row, col);
  return *this;
}

SheetBuilder& SheetBuilder::Error(uint16_t row, uint16_t col, CellError error, uint16_t xf) {
  ByteWriter out(9);
  CellHeader(out, row, col, xf);
  out.U8(static_cast<uint8_t>(error)).U8(1);
  cells_.Append(settings_->version == BiffVersion::kBiff2 ? record::kBoolErr2 : record::kBoolErr, out.bytes());
  Touch(row, col);
  return *this;
}

void SheetBuilder::AppendFormula(uint16_t row, uint16_t col, std::span<const uint8_t> result,
                                 const FormulaOptions& options, std::vector<uint8_t> default_tokens,
                                 uint16_t xf) {
  const std::vector<uint8_t>& tokens = options.tokens.empty() ? default_tokens : options.tokens;
  std::vector<uint8_t> cell_tokens = tokens;
  uint16_t flags = options.flags;
  if (options.tail != FormulaTail::kNone) {
    Require(BiffVersion::kBiff5, options.tail == FormulaTail::kArray ? "ARRAY after FORMULA" : "SHRFMLA");
    ByteWriter exp;
    exp.U8(kPtgExp).U16(row).U16(col);  // the formula lives in the record after, anchored here
    cell_tokens = exp.Take();
    if (options.tail == FormulaTail::kSharedFormula) flags |= kFormulaSharedFlag;
  }

  ByteWriter out(32 + cell_tokens.size());
  CellHeader(out, row, col, xf);
  out.Bytes(result);
  uint16_t id = record::kFormula;
  switch (settings_->version) {
    case BiffVersion::kBiff2:
      if (cell_tokens.size() > 255) throw std::invalid_argument("a BIFF2 formula holds at most 255 bytes");
      out.U8(static_cast<uint8_t>(flags)).U8(static_cast<uint8_t>(cell_tokens.size()));
      break;
    case BiffVersion::kBiff3:
    case BiffVersion::kBiff4:
    case BiffVersion::kBiff4Workbook:
      id = settings_->version == BiffVersion::kBiff3 ? record::kFormula3 : record::kFormula4;
      out.U16(flags).U16(static_cast<uint16_t>(cell_tokens.size()));
      break;
    case BiffVersion::kBiff5:
    case BiffVersion::kBiff8:
      out.U16(flags).U32(0).U16(static_cast<uint16_t>(cell_tokens.size()));
      break;
  }
  out.Bytes(cell_tokens);
  cells_.Append(id, out.bytes());

  if (options.tail != FormulaTail::kNone) {
    ByteWriter tail;
    tail.U16(row).U16(row).U8(static_cast<uint8_t>(col)).U8(static_cast<uint8_t>(col));
    if (options.tail == FormulaTail::kSharedFormula) {
      tail.U8(0).U8(1);  // reserved, one cell uses it
    } else {
      tail.U16(0).U32(0);  // option flags, reserved
    }
    tail.U16(static_cast<uint16_t>(tokens.size())).Bytes(tokens);
    cells_.Append(options.tail == FormulaTail::kSharedFormula ? record::kShrFmla : record::kArray, tail.bytes());
  }
  Touch(row, col);
}

void SheetBuilder::AppendStringRecord(std::string_view utf8) {
  if (settings_->IsBiff8()) {
    const std::u16string text = Utf8ToUtf16(utf8);
    const bool wide = !FitsInLatin1(text);
    ByteWriter head(3);
    head.U16(static_cast<uint16_t>(text.size())).U8(wide ? 1 : 0);
    ContinuedRecord string(record::kString, settings_->max_payload);
    string.Atomic(head.bytes());
    string.Characters(text, wide);
    string.WriteTo(cells_);
    return;
  }
  const std::string bytes = ByteText(utf8);
  ByteWriter out(2 + bytes.size());
  if (settings_->version == BiffVersion::kBiff2) {
    if (bytes.size() > 255) throw std::invalid_argument("a BIFF2 STRING holds at most 255 bytes");
    out.U8(static_cast<uint8_t>(bytes.size())).Bytes(bytes);
    cells_.Append(record::kString2, out.bytes());
  } else {
    out.U16(static_cast<uint16_t>(bytes.size())).Bytes(bytes);
    cells_.Append(record::kString, out.bytes());
  }
}

SheetBuilder& SheetBuilder::FormulaNumber(uint16_t row, uint16_t col, double cached,
                                          const FormulaOptions& options, uint16_t xf) {
  ByteWriter result;
  result.F64(cached);
  ByteWriter tokens;
  tokens.U8(kPtgNum).F64(cached);
  AppendFormula(row, col, result.bytes(), options, tokens.Take(), xf);
  return *this;
}

SheetBuilder& SheetBuilder::FormulaText(uint16_t row, uint16_t col, std::string_view cached,
                                        const FormulaOptions& options, uint16_t xf) {
  // The constant formula ="..." (long texts joined with &), as far as
  // Excel's formula size allows.
  std::vector<std::vector<uint8_t>> pieces;
  if (settings_->IsBiff8()) {
    const std::u16string text = Utf8ToUtf16(cached);
    for (size_t from = 0; from == 0 || from < text.size(); from += kMaxPtgStrChars) {
      const std::u16string_view piece = std::u16string_view(text).substr(from, kMaxPtgStrChars);
      const bool wide = !FitsInLatin1(piece);
      ByteWriter one;
      one.U8(kPtgStr).U8(static_cast<uint8_t>(piece.size())).U8(wide ? 1 : 0);
      if (wide) {
        one.Utf16(piece);
      } else {
        one.Latin1(piece);
      }
      pieces.push_back(one.Take());
    }
  } else {
    const std::string bytes = ByteText(cached);
    for (size_t from = 0; from == 0 || from < bytes.size(); from += kMaxPtgStrChars) {
      const std::string_view piece = std::string_view(bytes).substr(from, kMaxPtgStrChars);
      ByteWriter one;
      one.U8(kPtgStr).U8(static_cast<uint8_t>(piece.size())).Bytes(piece);
      pieces.push_back(one.Take());
    }
  }
  ByteWriter tokens;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (tokens.size() + pieces[i].size() + 1 > kMaxFormulaTokens) break;
    tokens.Bytes(pieces[i]);
    if (i > 0) tokens.U8(kPtgConcat);
  }
  AppendFormula(row, col, SpecialResult(kResultText), options, tokens.Take(), xf);
  AppendStringRecord(cached);
  return *this;
}

SheetBuilder& SheetBuilder::FormulaBoolean(uint16_t row, uint16_t col, bool cached,
                                           const FormulaOptions& options, uint16_t xf) {
  const uint8_t value = cached ? 1 : 0;
  AppendFormula(row, col, SpecialResult(kResultBoolean, value), options, {kPtgBool, value}, xf);
  return *this;
}

SheetBuilder& SheetBuilder::FormulaError(uint16_t row, uint16_t col, CellError cached,
                                         const FormulaOptions& options, uint16_t xf) {
  const auto code = static_cast<uint8_t>(cached);
  AppendFormula(row, col, SpecialResult(kResultError, code), options, {kPtgErr, code}, xf);
  return *this;
}

SheetBuilder& SheetBuilder::FormulaEmptyText(uint16_t row, uint16_t col, const FormulaOptions& options,
                                             uint16_t xf) {
  if (!settings_->IsBiff8()) return FormulaText(row, col, "", options, xf);
  std::vector<uint8_t> tokens = {kPtgStr, 0, 0};
  AppendFormula(row, col, SpecialResult(kResultEmpty), options, std::move(tokens), xf);
  return *this;
}

SheetBuilder& SheetBuilder::Record(uint16_t id, std::span<const uint8_t> payload) {
  cells_.Append(id, payload);
  return *this;
}

SheetBuilder& SheetBuilder::SetDimensions(uint32_t first_row, uint32_t end_row, uint16_t first_col,
                                          uint16_t end_col) {
  // Stored as given: the "last" fields hold the one-past-the-end values.
  dimensions_override_ = Bounds{first_row, end_row, first_col, end_col};
  return *this;
}

SheetBuilder& SheetBuilder::OmitDimensions() {
  omit_dimensions_ = true;
  return *this;
}

SheetBuilder& SheetBuilder::OmitWindow2() {
  omit_window2_ = true;
  return *this;
}

SheetBuilder& SheetBuilder::OmitEof() {
  omit_eof_ = true;
  return *this;
}

SheetBuilder& SheetBuilder::SetBoundSheetOffset(uint32_t offset) {
  boundsheet_offset_ = offset;
  return *this;
}

}  // namespace dravella::testing
