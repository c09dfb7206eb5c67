#include "engine/xls/workbook_file.h"

#include <system_error>

#include "engine/xls/biff_record_ids.h"
#include "engine/xls/biff_record_reader.h"
#include "engine/xls/biff_version.h"
#include "engine/xls/byte_source.h"
#include "engine/xls/compound_file.h"
#include "engine/xls/content_sniffer.h"
#include "engine/platform/file_system.h"
#include "engine/xls/sheet_reader.h"
#include "engine/xls/workbook_globals.h"

namespace dravella::engine {
namespace {

// A workbook's stream is held in memory while it is open; the format's own
// limits keep real ones far below this.
constexpr uint64_t kMaxFileSize = uint64_t{1} << 30;

// What is read of a file that is no compound file to tell what it is.
constexpr size_t kSniffSize = 64 * 1024;

const char* Lead(ErrorCode code) {
  switch (code) {
    case ErrorCode::kNotAWorkbook: return "is not an .xls workbook";
    case ErrorCode::kTruncated: return "is truncated";
    case ErrorCode::kDamaged: return "is damaged";
    case ErrorCode::kEncrypted: return "is encrypted";
    case ErrorCode::kUnsupportedVersion: return "is in a workbook format that is not supported";
    case ErrorCode::kTooLarge: return "is too large";
    case ErrorCode::kFileNotFound: return "does not exist";
    default: return "cannot be read";
  }
}

// The reader's layers say what is wrong; this names the file.
Status AboutFile(const std::string& name, const Status& inner) {
  return Status::Error(inner.code(), "The file \"" + name + "\" " + Lead(inner.code()) + ": " +
                                         inner.description() + ".");
}

Status FileError(ErrorCode code, const std::string& name, const std::string& what) {
  return AboutFile(name, Status::Error(code, what));
}

// Where the globals end: after the EOF that closes the first substream,
// nested substreams (the sheets of a BIFF4 workbook) included. The whole
// stream when there is no such EOF: the globals reader then says what is wrong.
Result<size_t> GlobalsEnd(const xls::ByteSource& stream) {
  xls::BiffRecordReader walker(stream);
  walker.ReadContinuesApart();  // only the ids count here
  xls::BiffRecord record;
  size_t depth = 0;
  while (walker.Next(&record)) {
    if (xls::IsBofId(record.id)) {
      ++depth;
    } else if (record.id == xls::record_id::kEof && depth > 0 && --depth == 0) {
      return walker.offset();
    }
  }
  if (!walker.read_error().ok()) return walker.read_error();
  return static_cast<size_t>(stream.size());
}

std::string SingleSheetName(const std::string& display_name) {
  std::string stem = platform::PathText(platform::NativePath(display_name).stem());
  return stem.empty() ? "Sheet1" : stem;
}

}  // namespace

WorkbookFile::WorkbookFile() = default;
WorkbookFile::~WorkbookFile() = default;

Result<std::unique_ptr<WorkbookFile>> WorkbookFile::Open(const std::filesystem::path& path) {
  const std::string name = platform::PathText(path);
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) return FileError(ErrorCode::kFileNotFound, name, "no such file");
  if (std::filesystem::is_directory(status)) return FileError(ErrorCode::kFileUnreadable, name, "it is a folder");
  const uint64_t size = std::filesystem::file_size(path, error);
  if (error) return FileError(ErrorCode::kFileUnreadable, name, error.message());
  if (size > kMaxFileSize) {
    return FileError(ErrorCode::kTooLarge, name, "it holds " + std::to_string(size) + " bytes; at most " +
                                                     std::to_string(kMaxFileSize) + " can be read");
  }
  Result<std::unique_ptr<xls::FileSource>> file = xls::FileSource::Open(path);
  if (!file.ok()) return FileError(ErrorCode::kFileUnreadable, name, file.status().description());
  std::unique_ptr<WorkbookFile> book(new WorkbookFile());
  book->display_name_ = name;
  book->file_ = std::move(file).value();
  if (Status s = book->Load(); !s.ok()) return s;
  return book;
}

Result<std::unique_ptr<WorkbookFile>> WorkbookFile::OpenBytes(std::vector<uint8_t> bytes, std::string display_name) {
  if (bytes.size() > kMaxFileSize) {
    return FileError(ErrorCode::kTooLarge, display_name, "it holds " + std::to_string(bytes.size()) + " bytes");
  }
  std::unique_ptr<WorkbookFile> book(new WorkbookFile());
  book->display_name_ = std::move(display_name);
  book->owned_bytes_ = std::move(bytes);
  book->file_ = std::make_unique<xls::MemorySource>(book->owned_bytes_);
  if (Status s = book->Load(); !s.ok()) return s;
  return book;
}

// The workbook stream of a compound file: "Workbook" (BIFF8), else "Book"
// (BIFF5 and BIFF7). A large one stays in the file and is read a window at
// a time; one in the mini stream is small and read whole.
Status WorkbookFile::FindStream() {
  Result<xls::CompoundFile> container = xls::CompoundFile::Parse(*file_);
  if (!container.ok()) return container.status();
  std::optional<uint32_t> entry;
  for (const char* name : {"Workbook", "Book"}) {
    if ((entry = container->FindStream(name))) break;
  }
  if (!entry) {
    if (container->FindStream("EncryptedPackage")) {
      return Status::Error(ErrorCode::kEncrypted,
                           "it is an .xlsx workbook protected with a password, renamed to .xls");
    }
    return Status::Error(ErrorCode::kNotAWorkbook,
                         "it is a compound file without a workbook stream (another Office document?)");
  }
  Result<std::optional<std::vector<xls::StreamRun>>> runs = container->StreamRuns(*entry);
  if (!runs.ok()) return runs.status();
  if (runs.value()) {
    stream_ = std::make_unique<xls::PiecewiseSource>(*file_, std::move(*runs.value()));
    stream_in_file_ = true;
    return Status::Ok();
  }
  Result<std::vector<uint8_t>> whole = container->ReadStream(*entry);
  if (!whole.ok()) return whole.status();
  held_stream_ = std::move(whole).value();
  stream_ = std::make_unique<xls::MemorySource>(held_stream_);
  return Status::Ok();
}

Status WorkbookFile::Load() {
  const std::string& name = display_name_;
  Result<std::vector<uint8_t>> read_lead = file_->Prefix(kSniffSize);
  if (!read_lead.ok()) return AboutFile(name, read_lead.status());
  std::vector<uint8_t> lead = std::move(read_lead).value();
  if (xls::CompoundFile::HasSignature(lead)) {
    lead = {};
    if (Status s = FindStream(); !s.ok()) return AboutFile(name, s);
  } else if (xls::LooksLikeBareBiff(lead)) {
    // Without a container the whole file is the workbook stream.
    if (file_->size() <= lead.size()) {
      held_stream_ = std::move(lead);
    } else {
      Result<std::vector<uint8_t>> whole = file_->Prefix(static_cast<size_t>(file_->size()));
      if (!whole.ok()) return AboutFile(name, whole.status());
      held_stream_ = std::move(whole).value();
    }
    stream_ = std::make_unique<xls::MemorySource>(held_stream_);
  } else {
    return FileError(ErrorCode::kNotAWorkbook, name, xls::DescribeContent(lead));
  }

  xls::Bytes globals_part = held_stream_;
  if (stream_in_file_) {
    Result<size_t> end = GlobalsEnd(*stream_);
    if (!end.ok()) return AboutFile(name, end.status());
    globals_bytes_.resize(end.value());
    if (Status s = stream_->ReadAt(0, globals_bytes_); !s.ok()) return AboutFile(name, s);
    globals_part = globals_bytes_;
  }
  Result<xls::WorkbookGlobals> globals = xls::ReadWorkbookGlobals(globals_part, SingleSheetName(name));
  if (!globals.ok()) return AboutFile(name, globals.status());
  globals_ = std::make_unique<xls::WorkbookGlobals>(std::move(globals).value());
  sheets_.resize(globals_->worksheets.size());
  sheet_errors_.resize(globals_->worksheets.size());
  return Status::Ok();
}

size_t WorkbookFile::worksheet_count() const { return globals_->worksheets.size(); }

const std::string& WorkbookFile::worksheet_name(size_t index) const {
  static const std::string kNone;
  return index < globals_->worksheets.size() ? globals_->worksheets[index].name : kNone;
}

DateSystem WorkbookFile::date_system() const { return globals_->date_system; }

void WorkbookFile::release_worksheet(size_t index) {
  if (index < sheets_.size()) sheets_[index].reset();
}

Result<const SheetData*> WorkbookFile::worksheet(size_t index) {
  if (index >= sheets_.size()) {
    return Status::Error(ErrorCode::kBadIndex, "The workbook \"" + display_name_ + "\" has no worksheet " +
                                                   std::to_string(index + 1) + "; it has " +
                                                   std::to_string(sheets_.size()) + ".");
  }
  if (sheets_[index]) return static_cast<const SheetData*>(sheets_[index].get());
  if (sheet_errors_[index]) return *sheet_errors_[index];
  if (!globals_->shared_strings_decoded) {
    xls::DecodeSharedStrings(*globals_);
    // The globals' bytes were needed only for the shared strings.
    if (stream_in_file_) globals_bytes_ = {};
  }
  Result<std::unique_ptr<SheetData>> sheet = xls::ReadWorksheet(*stream_, globals_->worksheets[index], *globals_);
  if (sheet.ok() && stream_in_file_) {
    // Bytes read from a file written over meanwhile may mix two versions.
    if (Status s = file_->CheckUnchanged(); !s.ok()) sheet = s;
  }
  if (!sheet.ok()) {
    sheet_errors_[index] = AboutFile(display_name_, sheet.status());
    return *sheet_errors_[index];
  }
  sheets_[index] = std::move(sheet).value();
  return static_cast<const SheetData*>(sheets_[index].get());
}

}  // namespace dravella::engine
