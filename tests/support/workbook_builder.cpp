// WorkbookBuilder: the workbook globals, the sheet list and the container.
#include "tests/support/workbook_builder.h"

#include <fstream>
#include <stdexcept>

#include "tests/support/biff_record_ids.h"
#include "tests/support/byte_writer.h"
#include "tests/support/text_encoding.h"
#include "tests/support/workbook_settings.h"

namespace dravella::testing {
namespace {

// BOF substream types.
constexpr uint16_t kBofGlobals = 0x0005;
constexpr uint16_t kBofVbaModule = 0x0006;
constexpr uint16_t kBofWorksheet = 0x0010;
constexpr uint16_t kBofChart = 0x0020;
constexpr uint16_t kBofMacroSheet = 0x0040;
constexpr uint16_t kBofWorkspace = 0x0100;  // a BIFF4 workbook's globals

constexpr uint16_t kStyleXfCount = 15;
constexpr uint16_t kFirstCustomFormat = 164;
constexpr uint16_t kBuiltInShortDate = 14;  // m/d/yy
constexpr char kFontName[] = "Arial";

uint16_t BofType(SheetKind kind) {
  switch (kind) {
    case SheetKind::kWorksheet: return kBofWorksheet;
    case SheetKind::kMacroSheet: return kBofMacroSheet;
    case SheetKind::kChart: return kBofChart;
    case SheetKind::kVbaModule: return kBofVbaModule;
  }
  return kBofWorksheet;
}

uint8_t BoundSheetType(SheetKind kind) {
  switch (kind) {
    case SheetKind::kWorksheet: return 0x00;
    case SheetKind::kMacroSheet: return 0x01;
    case SheetKind::kChart: return 0x02;
    case SheetKind::kVbaModule: return 0x06;
  }
  return 0x00;
}

bool HasCellTable(SheetKind kind) { return kind == SheetKind::kWorksheet || kind == SheetKind::kMacroSheet; }

bool IsSingleSheetVersion(BiffVersion version) {
  return version == BiffVersion::kBiff2 || version == BiffVersion::kBiff3 || version == BiffVersion::kBiff4;
}

void AppendBof(BiffWriter& out, BiffVersion version, uint16_t type) {
  ByteWriter bof;
  switch (version) {
    case BiffVersion::kBiff2:
      bof.U16(0x0200).U16(type);
      out.Append(record::kBof2, bof.bytes());
      return;
    case BiffVersion::kBiff3:
      bof.U16(0x0300).U16(type).U16(0);
      out.Append(record::kBof3, bof.bytes());
      return;
    case BiffVersion::kBiff4:
    case BiffVersion::kBiff4Workbook:
      bof.U16(0x0400).U16(type).U16(0);
      out.Append(record::kBof4, bof.bytes());
      return;
    case BiffVersion::kBiff5:
      bof.U16(0x0500).U16(type).U16(3218).U16(1993);  // build and year of Excel 5
      out.Append(record::kBof, bof.bytes());
      return;
    case BiffVersion::kBiff8:
      bof.U16(0x0600).U16(type).U16(0x0DBB).U16(0x07CC);
      bof.U32(0x00000009);  // last edited on Windows
      bof.U32(0x00000006);  // lowest BIFF version that saved it: 8
      out.Append(record::kBof, bof.bytes());
      return;
  }
}

void AppendEof(BiffWriter& out) { out.Append(record::kEof, {}); }

void AppendFilePass(BiffWriter& out, BiffVersion version) {
  ByteWriter pass;
  if (version == BiffVersion::kBiff8) {
    // RC4 encryption header: type 1, version 1.1, salt, verifier, its hash.
    pass.U16(1).U16(1).U16(1);
    for (int i = 0; i < 48; ++i) pass.U8(static_cast<uint8_t>(0x5A ^ (i * 37)));
  } else {
    pass.U16(0x4A1B).U16(0xC3D2);  // XOR obfuscation: key and password hash
  }
  out.Append(record::kFilePass, pass.bytes());
}

// The byte string of BIFF2-BIFF5: 8-bit length, then the bytes.
void ShortByteString(ByteWriter& out, std::string_view bytes) {
  if (bytes.size() > 255) throw std::invalid_argument("a short byte string holds at most 255 bytes");
  out.U8(static_cast<uint8_t>(bytes.size())).Bytes(bytes);
}

// BIFF8's Unicode string with an 8-bit (short) or 16-bit character count.
void UnicodeString(ByteWriter& out, std::string_view utf8, bool short_count) {
  const std::u16string text = Utf8ToUtf16(utf8);
  if (text.size() > (short_count ? 255u : 65535u)) throw std::invalid_argument("string too long for its count");
  if (short_count) {
    out.U8(static_cast<uint8_t>(text.size()));
  } else {
    out.U16(static_cast<uint16_t>(text.size()));
  }
  const bool wide = !FitsInLatin1(text);
  out.U8(wide ? 1 : 0);
  if (wide) {
    out.Utf16(text);
  } else {
    out.Latin1(text);
  }
}

}  // namespace

WorkbookBuilder::WorkbookBuilder(BiffVersion version) : settings_(std::make_unique<WorkbookSettings>()) {
  WorkbookSettings& s = *settings_;
  s.version = version;
  s.max_payload = version == BiffVersion::kBiff8 ? kBiff8MaxRecordPayload : kBiff5MaxRecordPayload;
  s.codepage = version == BiffVersion::kBiff8 ? 1200 : 1252;
  if (s.AtLeast(BiffVersion::kBiff5)) {
    s.next_format_id = kFirstCustomFormat;
  } else {
    s.formats.emplace_back(0, "General");  // number formats count by position here
    s.next_format_id = 1;
  }
  if (version == BiffVersion::kBiff2) {
    s.xfs.push_back({0, false});  // BIFF2 has no styles: one cell XF
    s.default_xf = 0;
  } else {
    for (uint16_t i = 0; i < kStyleXfCount; ++i) s.xfs.push_back({0, true});
    s.xfs.push_back({0, false});
    s.default_xf = kStyleXfCount;
  }
  s.stream_name = version == BiffVersion::kBiff5 ? "Book" : "Workbook";
}

WorkbookBuilder::~WorkbookBuilder() = default;
WorkbookBuilder::WorkbookBuilder(WorkbookBuilder&&) noexcept = default;
WorkbookBuilder& WorkbookBuilder::operator=(WorkbookBuilder&&) noexcept = default;

BiffVersion WorkbookBuilder::version() const { return settings_->version; }

SheetBuilder& WorkbookBuilder::AddSheet(std::string name, SheetKind kind, SheetVisibility visibility) {
  if (IsSingleSheetVersion(settings_->version) && !sheets_.empty()) {
    throw std::logic_error("a BIFF2-BIFF4 worksheet file holds one sheet");
  }
  sheets_.push_back(std::unique_ptr<SheetBuilder>(new SheetBuilder(settings_.get(), std::move(name), kind, visibility)));
  return *sheets_.back();
}

SheetBuilder& WorkbookBuilder::sheet(size_t index) { return *sheets_.at(index); }

uint16_t WorkbookBuilder::AddFormat(std::string format_string) {
  WorkbookSettings& s = *settings_;
  const uint16_t id = s.next_format_id++;
  if (!s.AtLeast(BiffVersion::kBiff5) && id > (s.version == BiffVersion::kBiff2 ? 63 : 255)) {
    throw std::invalid_argument("too many number formats for this version");
  }
  s.formats.emplace_back(id, std::move(format_string));
  return id;
}

uint16_t WorkbookBuilder::AddXf(uint16_t format_id) {
  WorkbookSettings& s = *settings_;
  if (s.version == BiffVersion::kBiff2 && s.xfs.size() >= 63) throw std::invalid_argument("BIFF2 holds 63 XFs");
  if (!s.AtLeast(BiffVersion::kBiff5) && format_id > 255) throw std::invalid_argument("format id over 255");
  s.xfs.push_back({format_id, false});
  return static_cast<uint16_t>(s.xfs.size() - 1);
}

uint16_t WorkbookBuilder::DateXf() {
  WorkbookSettings& s = *settings_;
  if (!s.date_xf) {
    s.date_xf = AddXf(s.AtLeast(BiffVersion::kBiff5) ? kBuiltInShortDate : AddFormat("M/D/YY"));
  }
  return *s.date_xf;
}

uint16_t WorkbookBuilder::default_xf() const { return settings_->default_xf; }

uint32_t WorkbookBuilder::AddSharedString(SharedString entry) {
  if (!settings_->IsBiff8()) throw std::logic_error("the shared string table exists in BIFF8 only");
  return settings_->sst.Add(entry);
}

WorkbookBuilder& WorkbookBuilder::SetSstCounts(uint32_t total, uint32_t unique) {
  settings_->sst.SetCounts(total, unique);
  return *this;
}

WorkbookBuilder& WorkbookBuilder::SetSstRecompressContinuations(bool on) {
  settings_->sst.SetRecompressContinuations(on);
  return *this;
}

WorkbookBuilder& WorkbookBuilder::OmitExtSst() {
  settings_->sst.OmitExtSst();
  return *this;
}

WorkbookBuilder& WorkbookBuilder::SetCodepage(uint16_t codepage) {
  settings_->codepage = codepage;
  return *this;
}

WorkbookBuilder& WorkbookBuilder::OmitCodepage() {
  settings_->codepage.reset();
  return *this;
}

WorkbookBuilder& WorkbookBuilder::SetDateMode1904(bool on) {
  settings_->date1904 = on;
  return *this;
}

WorkbookBuilder& WorkbookBuilder::SetEncrypted(bool on) {
  settings_->encrypted = on;
  return *this;
}

WorkbookBuilder& WorkbookBuilder::AddGlobalsRecord(uint16_t id, std::vector<uint8_t> payload) {
  settings_->globals_records.emplace_back(id, std::move(payload));
  return *this;
}

WorkbookBuilder& WorkbookBuilder::SetMaxRecordPayload(size_t bytes) {
  if (!sheets_.empty()) throw std::logic_error("set the record size limit before adding sheets");
  if (bytes < 16 || bytes > 0xFFFF) throw std::invalid_argument("record size limit out of range");
  settings_->max_payload = bytes;
  return *this;
}

WorkbookBuilder& WorkbookBuilder::PadStreamTo(size_t bytes) {
  settings_->pad_stream_to = bytes;
  return *this;
}

WorkbookBuilder& WorkbookBuilder::SetCompoundFileVersion(CfbVersion version) {
  settings_->cfb_version = version;
  return *this;
}

WorkbookBuilder& WorkbookBuilder::SetStreamName(std::string name) {
  settings_->stream_name = std::move(name);
  return *this;
}

WorkbookBuilder& WorkbookBuilder::AddStream(std::string name, std::vector<uint8_t> bytes) {
  settings_->extra_streams.emplace_back(std::move(name), std::move(bytes));
  return *this;
}

WorkbookBuilder& WorkbookBuilder::SetPlainStream(bool on) {
  settings_->plain_stream = on;
  return *this;
}

void WorkbookBuilder::AppendFormatting(BiffWriter& out) const {
  const WorkbookSettings& s = *settings_;
  const BiffVersion v = s.version;

  // Fonts: Arial 10 pt. BIFF5/BIFF8 workbooks carry four (index 4 is never used).
  const int font_count = s.AtLeast(BiffVersion::kBiff5) ? 4 : 1;
  for (int i = 0; i < font_count; ++i) {
    ByteWriter font;
    font.U16(200).U16(0);  // height in twips, no attributes
    if (v == BiffVersion::kBiff2) {
      ShortByteString(font, kFontName);
      out.Append(record::kFont, font.bytes());
    } else if (!s.AtLeast(BiffVersion::kBiff5)) {
      font.U16(0x7FFF);  // automatic colour
      ShortByteString(font, kFontName);
      out.Append(record::kFont34, font.bytes());
    } else {
      font.U16(0x7FFF).U16(400).U16(0).U8(0).U8(0).U8(0).U8(0);  // colour, weight, script, underline ...
      if (v == BiffVersion::kBiff8) {
        UnicodeString(font, kFontName, true);
      } else {
        ShortByteString(font, kFontName);
      }
      out.Append(record::kFont, font.bytes());
    }
  }

  for (const auto& [id, text] : s.formats) {
    ByteWriter format;
    if (v == BiffVersion::kBiff8) {
      format.U16(id);
      UnicodeString(format, text, false);
      out.Append(record::kFormat, format.bytes());
    } else if (v == BiffVersion::kBiff5) {
      format.U16(id);
      ShortByteString(format, EncodeForCodepage(text, s.ByteStringCodepage()));
      out.Append(record::kFormat, format.bytes());
    } else if (v == BiffVersion::kBiff4 || v == BiffVersion::kBiff4Workbook) {
      format.U16(0);  // not used: BIFF4 numbers its formats by position
      ShortByteString(format, EncodeForCodepage(text, s.ByteStringCodepage()));
      out.Append(record::kFormat, format.bytes());
    } else {
      ShortByteString(format, EncodeForCodepage(text, s.ByteStringCodepage()));
      out.Append(record::kFormat23, format.bytes());
    }
  }

  for (size_t i = 0; i < s.xfs.size(); ++i) {
    const XfEntry& xf = s.xfs[i];
    // Style XFs 1-14 mark all their attributes as not set; a cell XF with
    // its own number format says so.
    const uint8_t used = xf.style ? (i == 0 ? 0x00 : 0xF4) : (xf.format_id != 0 ? 0x04 : 0x00);
    ByteWriter record_bytes;
    switch (v) {
      case BiffVersion::kBiff2:
        record_bytes.U8(0).U8(0).U8(static_cast<uint8_t>(xf.format_id & 0x3F)).U8(0);
        out.Append(record::kXf2, record_bytes.bytes());
        break;
      case BiffVersion::kBiff3:
        record_bytes.U8(0).U8(static_cast<uint8_t>(xf.format_id));
        record_bytes.U8(xf.style ? 0x05 : 0x01).U8(used);  // locked (+ style)
        record_bytes.U16(xf.style ? 0xFFF0 : 0x0000);      // parent XF in bits 4-15
        record_bytes.U16(0).U32(0);                         // background, borders
        out.Append(record::kXf3, record_bytes.bytes());
        break;
      case BiffVersion::kBiff4:
      case BiffVersion::kBiff4Workbook:
        record_bytes.U8(0).U8(static_cast<uint8_t>(xf.format_id));
        record_bytes.U16(xf.style ? 0xFFF5 : 0x0001);  // locked, style, parent
        record_bytes.U8(0x20).U8(used);                 // bottom-aligned
        record_bytes.U16(0).U32(0);
        out.Append(record::kXf4, record_bytes.bytes());
        break;
      case BiffVersion::kBiff5:
        record_bytes.U16(0).U16(xf.format_id).U16(xf.style ? 0xFFF5 : 0x0001);
        record_bytes.U8(0x20).U8(used);
        record_bytes.U32(0x000020C0).U32(0);  // automatic colours, no borders
        out.Append(record::kXf, record_bytes.bytes());
        break;
      case BiffVersion::kBiff8:
        record_bytes.U16(0).U16(xf.format_id).U16(xf.style ? 0xFFF5 : 0x0001);
        record_bytes.U8(0x20).U8(0).U8(0).U8(used);
        record_bytes.U32(0).U32(0).U16(0x20C0);
        out.Append(record::kXf, record_bytes.bytes());
        break;
    }
  }

  if (v != BiffVersion::kBiff2) {
    ByteWriter style;
    style.U16(0x8000).U8(0).U8(0xFF);  // built-in style "Normal" on XF 0
    out.Append(record::kStyle, style.bytes());
  }
}

void WorkbookBuilder::AppendSheet(BiffWriter& out, const SheetBuilder& sheet, bool first) const {
  const WorkbookSettings& s = *settings_;
  const BiffVersion v = s.version;
  const bool cell_table = HasCellTable(sheet.kind());

  if (cell_table && !sheet.omit_dimensions_) {
    SheetBuilder::Bounds d{};
    if (sheet.dimensions_override_) {
      d = *sheet.dimensions_override_;
    } else if (sheet.bounds_) {
      d = *sheet.bounds_;
      d.last_row += 1;
      d.last_col = static_cast<uint16_t>(d.last_col + 1);
    }
    ByteWriter dims;
    if (v == BiffVersion::kBiff8) {
      dims.U32(d.first_row).U32(d.last_row).U16(d.first_col).U16(d.last_col).U16(0);
      out.Append(record::kDimensions, dims.bytes());
    } else {
      dims.U16(static_cast<uint16_t>(d.first_row)).U16(static_cast<uint16_t>(d.last_row));
      dims.U16(d.first_col).U16(d.last_col);
      if (v == BiffVersion::kBiff2) {
        out.Append(record::kDimensions2, dims.bytes());
      } else {
        dims.U16(0);
        out.Append(record::kDimensions, dims.bytes());
      }
    }
  }

  out.AppendRaw(sheet.cells_.bytes());
  if (sheet.omit_eof_) return;

  if (cell_table && !sheet.omit_window2_) {
    ByteWriter window;
    if (v == BiffVersion::kBiff2) {
      // Formulas hidden, grid, headers, not frozen, zeros shown; top-left
      // cell; automatic grid colour.
      window.U8(0).U8(1).U8(1).U8(0).U8(1).U16(0).U16(0).U8(1).U32(0);
      out.Append(record::kWindow2Biff2, window.bytes());
    } else {
      // Grid, headers, zeros, automatic grid colour, outline symbols; the
      // first sheet is the selected, active one.
      const uint16_t flags = static_cast<uint16_t>(0x00B6 | (first ? 0x0600 : 0));
      window.U16(flags).U16(0).U16(0);
      if (v == BiffVersion::kBiff8) {
        window.U16(0x0040).U16(0).U16(0).U16(0).U32(0);
      } else {
        window.U32(0);
      }
      out.Append(record::kWindow2, window.bytes());
    }
  }
  AppendEof(out);
}

std::vector<uint8_t> WorkbookBuilder::BuildSingleSheetStream(StreamLayout& layout) const {
  const WorkbookSettings& s = *settings_;
  BiffWriter out(s.max_payload);
  const SheetBuilder* sheet = sheets_.empty() ? nullptr : sheets_.front().get();
  const SheetKind kind = sheet ? sheet->kind() : SheetKind::kWorksheet;
  layout.sheet_offsets.push_back(0);
  AppendBof(out, s.version, BofType(kind));
  if (s.encrypted) AppendFilePass(out, s.version);
  if (s.codepage) out.Append(record::kCodepage, ByteWriter().U16(*s.codepage).bytes());
  out.Append(record::kDateMode, ByteWriter().U16(s.date1904 ? 1 : 0).bytes());
  AppendFormatting(out);
  for (const auto& [id, payload] : s.globals_records) out.Append(id, payload);
  if (sheet) {
    AppendSheet(out, *sheet, true);
  } else {
    SheetBuilder empty(settings_.get(), "", SheetKind::kWorksheet, SheetVisibility::kVisible);
    AppendSheet(out, empty, true);
  }
  // One substream: its EOF ends the stream, unless the test left it out.
  layout.globals_eof_offset = (sheet && sheet->omit_eof_) ? out.size() : out.size() - 4;
  return out.Take();
}

std::vector<uint8_t> WorkbookBuilder::BuildBiff4WorkbookStream(StreamLayout& layout) const {
  const WorkbookSettings& s = *settings_;
  BiffWriter out(s.max_payload);
  AppendBof(out, s.version, kBofWorkspace);
  if (s.encrypted) AppendFilePass(out, s.version);
  if (s.codepage) out.Append(record::kCodepage, ByteWriter().U16(*s.codepage).bytes());
  out.Append(record::kDateMode, ByteWriter().U16(s.date1904 ? 1 : 0).bytes());
  for (const auto& [id, payload] : s.globals_records) out.Append(id, payload);

  // SHEETSOFFSET points at the first SHEETHDR; the sheet list holds names only.
  const size_t sheets_offset_field = out.size() + 4;
  out.Append(record::kSheetsOffset, ByteWriter().U32(0).bytes());
  for (const auto& sheet : sheets_) {
    layout.boundsheet_offsets.push_back(out.size());
    ByteWriter entry;
    ShortByteString(entry, EncodeForCodepage(sheet->name(), s.ByteStringCodepage()));
    out.Append(record::kBoundSheet, entry.bytes());
  }
  PutU32(out.bytes(), sheets_offset_field, static_cast<uint32_t>(out.size()));

  // Each sheet: SHEETHDR (substream length, name), then a whole BIFF4
  // worksheet substream with its own formats.
  for (size_t i = 0; i < sheets_.size(); ++i) {
    const SheetBuilder& sheet = *sheets_[i];
    BiffWriter substream(s.max_payload);
    AppendBof(substream, s.version, BofType(sheet.kind()));
    AppendFormatting(substream);
    AppendSheet(substream, sheet, i == 0);
    ByteWriter header;
    header.U32(static_cast<uint32_t>(substream.size()));
    ShortByteString(header, EncodeForCodepage(sheet.name(), s.ByteStringCodepage()));
    out.Append(record::kSheetHeader, header.bytes());
    layout.sheet_offsets.push_back(out.size());
    out.AppendRaw(substream.bytes());
  }
  layout.globals_eof_offset = out.size();
  AppendEof(out);
  return out.Take();
}

std::vector<uint8_t> WorkbookBuilder::BuildWorkbookStream(StreamLayout& layout) const {
  const WorkbookSettings& s = *settings_;
  BiffWriter out(s.max_payload);
  AppendBof(out, s.version, kBofGlobals);
  if (s.encrypted) AppendFilePass(out, s.version);
  if (s.codepage) out.Append(record::kCodepage, ByteWriter().U16(*s.codepage).bytes());
  ByteWriter window1;
  window1.U16(360).U16(270).U16(14940).U16(9150);  // position and size in twips
  window1.U16(0x0038).U16(0).U16(0).U16(1).U16(600);  // tabs shown; active tab 0; tab bar ratio
  out.Append(record::kWindow1, window1.bytes());
  out.Append(record::kDateMode, ByteWriter().U16(s.date1904 ? 1 : 0).bytes());
  AppendFormatting(out);
  for (const auto& [id, payload] : s.globals_records) out.Append(id, payload);

  std::vector<size_t> position_fields;
  for (const auto& sheet : sheets_) {
    layout.boundsheet_offsets.push_back(out.size());
    position_fields.push_back(out.size() + 4);
    ByteWriter entry;
    entry.U32(0).U8(static_cast<uint8_t>(sheet->visibility())).U8(BoundSheetType(sheet->kind()));
    if (s.IsBiff8()) {
      UnicodeString(entry, sheet->name(), true);
    } else {
      ShortByteString(entry, EncodeForCodepage(sheet->name(), s.ByteStringCodepage()));
    }
    out.Append(record::kBoundSheet, entry.bytes());
  }
  if (s.IsBiff8()) {
    size_t sst_offset = 0;
    s.sst.WriteTo(out, s.max_payload, &sst_offset, &layout.extsst_offset);
    layout.sst_offset = sst_offset;
  }
  layout.globals_eof_offset = out.size();
  AppendEof(out);

  for (size_t i = 0; i < sheets_.size(); ++i) {
    const SheetBuilder& sheet = *sheets_[i];
    layout.sheet_offsets.push_back(out.size());
    PutU32(out.bytes(), position_fields[i],
           sheet.boundsheet_offset_.value_or(static_cast<uint32_t>(out.size())));
    AppendBof(out, s.version, BofType(sheet.kind()));
    AppendSheet(out, sheet, i == 0);
  }
  return out.Take();
}

std::vector<uint8_t> WorkbookBuilder::BuildStream(StreamLayout* layout_out) const {
  StreamLayout layout;
  std::vector<uint8_t> stream;
  switch (settings_->version) {
    case BiffVersion::kBiff2:
    case BiffVersion::kBiff3:
    case BiffVersion::kBiff4:
      stream = BuildSingleSheetStream(layout);
      break;
    case BiffVersion::kBiff4Workbook:
      stream = BuildBiff4WorkbookStream(layout);
      break;
    case BiffVersion::kBiff5:
    case BiffVersion::kBiff8:
      stream = BuildWorkbookStream(layout);
      break;
  }
  if (stream.size() < settings_->pad_stream_to) stream.resize(settings_->pad_stream_to, 0);
  if (layout_out != nullptr) *layout_out = std::move(layout);
  return stream;
}

std::vector<uint8_t> WorkbookBuilder::Build(CompoundFileLayout* container_layout) const {
  const WorkbookSettings& s = *settings_;
  std::vector<uint8_t> stream = BuildStream();
  if (!s.AtLeast(BiffVersion::kBiff5) || s.plain_stream) return stream;
  CompoundFileBuilder container(s.cfb_version);
  container.AddStream(s.stream_name, std::move(stream));
  for (const auto& [name, bytes] : s.extra_streams) container.AddStream(name, bytes);
  return container.Build(container_layout);
}

void WorkbookBuilder::WriteTo(const std::filesystem::path& path) const {
  const std::vector<uint8_t> bytes = Build();
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace dravella::testing
