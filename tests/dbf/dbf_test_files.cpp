#include "tests/dbf/dbf_test_files.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace dravella::engine::testing {
namespace {

uint32_t Read16(std::string_view bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8;
}

uint32_t Read32(std::string_view bytes, size_t at) {
  return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

std::string NameAt(std::string_view bytes, size_t at) {
  std::string name(bytes.substr(at, 11));
  return name.substr(0, name.find('\0'));
}

constexpr size_t kDbase2HeaderLength = 521;

}  // namespace

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

ParsedTable ParseTable(std::string bytes) {
  ParsedTable table;
  table.bytes = std::move(bytes);
  const std::string_view data = table.bytes;
  if (data.empty()) {
    table.problem = "empty file";
    return table;
  }
  table.version = static_cast<uint8_t>(data[0]);
  size_t offset = 1;
  if (table.version == 0x02) {
    if (data.size() < kDbase2HeaderLength) {
      table.problem = "dBASE II header cut short";
      return table;
    }
    table.record_count = Read16(data, 1);
    table.month = static_cast<uint8_t>(data[3]);
    table.day = static_cast<uint8_t>(data[4]);
    table.year = 2000 + static_cast<uint8_t>(data[5]);
    table.record_length = Read16(data, 6);
    table.header_length = kDbase2HeaderLength;
    for (size_t slot = 0; slot < 32 && data[8 + slot * 16] != 0x0D; ++slot) {
      const size_t at = 8 + slot * 16;
      ParsedField field{NameAt(data, at), data[at + 11], static_cast<uint8_t>(data[at + 12]),
                        static_cast<uint8_t>(data[at + 15]), offset};
      offset += field.width;
      table.fields.push_back(field);
    }
  } else {
    if (data.size() < 32) {
      table.problem = "header cut short";
      return table;
    }
    table.year = 1900 + static_cast<uint8_t>(data[1]);
    table.month = static_cast<uint8_t>(data[2]);
    table.day = static_cast<uint8_t>(data[3]);
    table.record_count = Read32(data, 4);
    table.header_length = Read16(data, 8);
    table.record_length = Read16(data, 10);
    table.language_driver = static_cast<uint8_t>(data[29]);
    size_t at = 32;
    for (; at < data.size() && data[at] != 0x0D; at += 32) {
      if (at + 32 > data.size()) {
        table.problem = "field descriptor cut short";
        return table;
      }
      ParsedField field{NameAt(data, at), data[at + 11], static_cast<uint8_t>(data[at + 16]),
                        static_cast<uint8_t>(data[at + 17]), offset};
      offset += field.width;
      table.fields.push_back(field);
    }
    if (at + 1 != table.header_length) table.problem = "header length disagrees with the descriptors";
  }
  const size_t expected_size = table.header_length + table.record_count * table.record_length + 1;
  if (table.problem.empty() && offset != table.record_length) {
    table.problem = "record length disagrees with the field widths";
  } else if (table.problem.empty() && data.size() != expected_size) {
    table.problem = "file size " + std::to_string(data.size()) + ", header says " +
                    std::to_string(expected_size);
  } else if (table.problem.empty() && data.back() != 0x1A) {
    table.problem = "no end-of-file mark";
  }
  return table;
}

ParsedTable ReadTable(const std::filesystem::path& path) { return ParseTable(ReadBytes(path)); }

std::string ParsedTable::Record(size_t record) const {
  return bytes.substr(header_length + record * record_length, record_length);
}

std::string ParsedTable::Value(size_t record, size_t field) const {
  return Record(record).substr(fields[field].offset, fields[field].width);
}

std::string FirstDifference(std::string_view expected, std::string_view actual) {
  const size_t common = std::min(expected.size(), actual.size());
  size_t at = 0;
  while (at < common && expected[at] == actual[at]) ++at;
  if (at == common && expected.size() == actual.size()) return {};

  const ParsedTable layout = ParseTable(std::string(expected));
  std::ostringstream where;
  const bool dbase2 = layout.version == 0x02;
  const size_t records_end = layout.header_length + layout.record_count * layout.record_length;
  if (dbase2 && at < 8) {
    where << "header byte " << at;
  } else if (dbase2 && at < 520) {
    where << "field descriptor " << (at - 8) / 16 + 1 << ", byte " << (at - 8) % 16;
  } else if (!dbase2 && at < 32) {
    where << "header byte " << at;
  } else if (at + 1 < layout.header_length) {
    where << "field descriptor " << (at - 32) / 32 + 1 << ", byte " << (at - 32) % 32;
  } else if (at < layout.header_length) {
    where << "the end of the field descriptors";
  } else if (at < records_end && layout.record_length > 0) {
    where << "record " << (at - layout.header_length) / layout.record_length + 1 << ", byte "
          << (at - layout.header_length) % layout.record_length;
  } else {
    where << "the end-of-file mark";
  }
  auto byte_at = [](std::string_view bytes, size_t i) {
    if (i >= bytes.size()) return std::string("nothing");
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<uint8_t>(bytes[i]));
    return std::string(text);
  };
  std::ostringstream out;
  out << "first difference at byte " << at << " (" << where.str() << "): expected "
      << byte_at(expected, at) << ", found " << byte_at(actual, at) << "; sizes "
      << expected.size() << " and " << actual.size();
  return out.str();
}

std::string MemoText(std::string_view dbt, bool dbase4, uint32_t block) {
  const size_t start = static_cast<size_t>(block) * 512;
  if (block == 0 || start >= dbt.size()) return "<no such block>";
  if (dbase4) {
    if (start + 8 > dbt.size() || dbt.substr(start, 4) != std::string_view("\xFF\xFF\x08\x00", 4)) {
      return "<no text mark>";
    }
    const uint32_t length = Read32(dbt, start + 4);
    if (length < 8 || start + length > dbt.size()) return "<bad length>";
    return std::string(dbt.substr(start + 8, length - 8));
  }
  const size_t end = dbt.find("\x1A\x1A", start);
  if (end == std::string_view::npos) return "<no end mark>";
  return std::string(dbt.substr(start, end - start));
}

ScratchFolder::ScratchFolder() {
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() /
          ("dbf-writer-test-" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::Files() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace dravella::engine::testing
