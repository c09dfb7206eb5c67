// WriteDbfTable: plans the table, writes the table, memo and code-page files
// under temporary names, then puts them into place together, the table last.
#include <algorithm>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "engine/dbf/dbf_writer.h"
#include "engine/dbf/memo_file.h"
#include "engine/platform/file_system.h"
#include "engine/dbf/record_formatter.h"
#include "engine/dbf/staged_file.h"
#include "engine/dbf/table_header.h"
#include "engine/dbf/code_page.h"
#include "engine/dbf/side_by_side.h"
#include "engine/dbf/table_layout.h"

namespace dravella::engine {
namespace {

using dbf::StagedFile;

constexpr char kEndOfFile = 0x1A;
constexpr size_t kWriteBufferBytes = 256 * 1024;

DbfDate Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

bool HasExtension(const std::filesystem::path& path, std::string_view lower_extension) {
  std::string extension = platform::PathText(path.extension());
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension == lower_extension;
}

Status BadTarget(std::string description) {
  return Status::Error(ErrorCode::kBadTargetPath, std::move(description));
}

Status CheckTarget(const std::filesystem::path& target) {
  if (target.empty()) return BadTarget("The target path is empty.");
  if (!target.has_filename()) return BadTarget("The target path " + platform::PathText(target) + " names no file.");
  // The companions share the base name; a table called x.dbt or x.cpg would
  // be overwritten or removed as its own companion.
  if (HasExtension(target, ".dbt") || HasExtension(target, ".cpg")) {
    return BadTarget("The table " + platform::PathText(target) +
                     " cannot end in .dbt or .cpg: those names belong to its memo and "
                     "code-page files.");
  }
  std::error_code error;
  if (std::filesystem::is_directory(target, error)) {
    return BadTarget("The target path " + platform::PathText(target) + " is a folder.");
  }
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  if (!std::filesystem::is_directory(folder, error)) {
    return BadTarget("The folder " + platform::PathText(folder) + " does not exist.");
  }
  return Status::Ok();
}

std::filesystem::path Companion(const std::filesystem::path& target, const char* extension) {
  std::filesystem::path path = target;
  return path.replace_extension(extension);
}

// Returns the characters written as '?' because the code page cannot hold them.
int64_t WriteRecords(const CellGrid& grid, const dbf::TableLayout& layout, StagedFile& table,
                     dbf::MemoWriter* memo) {
  dbf::RecordFormatter formatter(layout, memo);
  const size_t record_length = layout.record_length;
  std::vector<char> buffer(std::max(kWriteBufferBytes, record_length + 1));
  size_t used = 0;
  for (uint32_t record = 0; record < layout.record_count; ++record) {
    if (buffer.size() - used < record_length) {
      table.Write(buffer.data(), used);
      used = 0;
    }
    formatter.Format(grid, record + 1, buffer.data() + used);
    used += record_length;
  }
  if (used == buffer.size()) {
    table.Write(buffer.data(), used);
    used = 0;
  }
  buffer[used++] = kEndOfFile;
  table.Write(buffer.data(), used);
  return formatter.replaced_characters();
}

// The same bytes from two threads: the records go in chunks of a write
// buffer, and each thread takes the next chunk to format into a free one of
// a few buffers, or, when the next chunk to write is ready, writes it, so
// that chunks are written in order by one thread at a time and neither
// thread waits on a fixed share. Only for a table without memo field (the
// memo file's blocks follow the records' order). Nothing is written when no
// second thread could be started.
std::optional<int64_t> WriteRecordsSideBySide(const CellGrid& grid, const dbf::TableLayout& layout,
                                              StagedFile& table) {
  const size_t record_length = layout.record_length;
  const uint32_t per_chunk = static_cast<uint32_t>(std::max<size_t>(1, kWriteBufferBytes / record_length));
  const uint32_t chunks = (layout.record_count + per_chunk - 1) / per_chunk;
  constexpr uint32_t kFree = UINT32_MAX;
  struct Buffer {
    std::vector<char> bytes;
    uint32_t chunk = kFree;  // the chunk it holds, kFree once written out
    bool formatted = false;
  };
  // Everything allocated before the second thread starts.
  constexpr size_t kBuffers = 4;
  Buffer buffers[kBuffers];
  for (Buffer& b : buffers) b.bytes.resize(size_t{per_chunk} * record_length);
  std::mutex mutex;
  std::condition_variable changed;
  uint32_t next_to_format = 0;
  uint32_t next_to_write = 0;
  bool writing = false;
  dbf::RecordFormatter formatters[2] = {dbf::RecordFormatter(layout, nullptr), dbf::RecordFormatter(layout, nullptr)};

  const auto records_in = [&](uint32_t chunk) {
    return std::min(per_chunk, layout.record_count - chunk * per_chunk);
  };
  const auto work = [&](dbf::RecordFormatter& formatter) {
    std::unique_lock lock(mutex);
    while (next_to_write < chunks) {
      Buffer& to_write = buffers[next_to_write % kBuffers];
      if (!writing && to_write.chunk == next_to_write && to_write.formatted) {
        writing = true;
        lock.unlock();
        table.Write(to_write.bytes.data(), records_in(to_write.chunk) * record_length);
        lock.lock();
        writing = false;
        to_write.chunk = kFree;
        to_write.formatted = false;
        ++next_to_write;
        changed.notify_all();
        continue;
      }
      Buffer& to_format = buffers[next_to_format % kBuffers];
      if (next_to_format < chunks && to_format.chunk == kFree) {
        const uint32_t chunk = next_to_format++;
        to_format.chunk = chunk;
        lock.unlock();
        const uint32_t first = chunk * per_chunk;
        for (uint32_t i = 0; i < records_in(chunk); ++i) {
          formatter.Format(grid, first + i + 1, to_format.bytes.data() + i * record_length);
        }
        lock.lock();
        to_format.formatted = true;
        changed.notify_all();
        continue;
      }
      changed.wait(lock);
    }
  };
  if (!dbf::RunSideBySide([&] { work(formatters[0]); }, [&] { work(formatters[1]); })) return std::nullopt;
  const char end = kEndOfFile;
  table.Write(&end, 1);
  return formatters[0].replaced_characters() + formatters[1].replaced_characters();
}

}  // namespace

Status WriteDbfTable(const CellGrid& grid, const std::filesystem::path& target,
                     const DbfOptions& options, SaveStatistics* statistics) {
  if (statistics != nullptr) *statistics = SaveStatistics{};
  if (Status status = CheckTarget(target); !status.ok()) return status;
  Result<dbf::TableLayout> planned = dbf::PlanTable(grid, options.level, options.code_page, options.side_by_side);
  if (!planned.ok()) return planned.status();
  const dbf::TableLayout& layout = planned.value();
  // UTF-8 has no language driver byte; a .cpg file beside the table names it.
  const std::string_view cpg_text = dbf::CpgTextOf(options.code_page);
  const bool utf8 = !cpg_text.empty();
  const std::filesystem::path memo_path = Companion(target, ".dbt");
  const std::filesystem::path cpg_path = Companion(target, ".cpg");

  Result<StagedFile> table = StagedFile::Create(target);
  if (!table.ok()) return table.status();
  std::optional<StagedFile> memo_file;
  std::optional<dbf::MemoWriter> memo;
  if (layout.has_memo) {
    Result<StagedFile> created = StagedFile::Create(memo_path);
    if (!created.ok()) return created.status();
    memo_file.emplace(std::move(created).value());
    memo.emplace(layout.level, *memo_file);
  }
  std::optional<StagedFile> cpg_file;
  if (utf8) {
    Result<StagedFile> created = StagedFile::Create(cpg_path);
    if (!created.ok()) return created.status();
    cpg_file.emplace(std::move(created).value());
    cpg_file->Write(cpg_text.data(), cpg_text.size());
  }

  const std::vector<uint8_t> header =
      dbf::BuildTableHeader(layout, options.header_date.value_or(Today()));
  table->Write(header.data(), header.size());
  std::optional<int64_t> replaced;
  if (options.side_by_side && !layout.has_memo && layout.record_count >= dbf::kSideBySideRecords &&
      grid.reads_concurrently()) {
    replaced = WriteRecordsSideBySide(grid, layout, table.value());
  }
  if (!replaced) replaced = WriteRecords(grid, layout, table.value(), memo ? &*memo : nullptr);
  if (memo) memo->Finish();

  if (Status status = table->Finish(); !status.ok()) return status;
  if (memo_file) {
    if (Status status = memo_file->Finish(); !status.ok()) return status;
  }
  if (cpg_file) {
    if (Status status = cpg_file->Finish(); !status.ok()) return status;
  }

  // Companions first and the table last, so a reader that sees the new
  // table finds its companions; a companion the new table does not use goes,
  // or it would pair with the new table. All of it as one step: when any
  // part fails, the earlier table and its companions stay as they were.
  std::vector<StagedFile*> files;
  std::vector<std::filesystem::path> removed;
  if (memo_file) {
    files.push_back(&*memo_file);
  } else {
    removed.push_back(memo_path);
  }
  if (cpg_file) {
    files.push_back(&*cpg_file);
  } else {
    removed.push_back(cpg_path);
  }
  files.push_back(&table.value());
  if (Status status = dbf::ReplaceTogether(files, removed); !status.ok()) return status;
  if (statistics != nullptr) statistics->replaced_characters = *replaced;
  return Status::Ok();
}

}  // namespace dravella::engine
