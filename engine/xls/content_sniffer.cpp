#include "engine/xls/content_sniffer.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "engine/xls/biff_version.h"

namespace dravella::engine::xls {
namespace {

bool StartsWith(Bytes file, std::string_view prefix) {
  return file.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), file.begin(),
                                                    [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

// The first characters after a byte order mark and white space, lower-cased.
std::string LeadingText(Bytes file) {
  size_t i = StartsWith(file, "\xEF\xBB\xBF") ? 3 : 0;
  while (i < file.size() && std::isspace(file[i])) ++i;
  std::string text;
  for (; i < file.size() && text.size() < 16; ++i) text.push_back(static_cast<char>(std::tolower(file[i])));
  return text;
}

bool IsMostlyText(Bytes file) {
  const size_t n = std::min<size_t>(file.size(), 4096);
  size_t control = 0;
  for (size_t i = 0; i < n; ++i) {
    const uint8_t b = file[i];
    if (b == 0 || (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f')) ++control;
  }
  return n > 0 && control * 100 <= n;
}

}  // namespace

bool LooksLikeBareBiff(Bytes file) {
  uint16_t id = 0;
  uint16_t length = 0;
  // A BOF record's payload is 4 to 20 bytes in every version.
  return ReadU16(file, 0, &id) && ReadU16(file, 2, &length) && IsBofId(id) && length >= 4 && length <= 20;
}

std::string DescribeContent(Bytes file) {
  if (file.empty()) return "the file is empty";
  if (StartsWith(file, "PK\x03\x04") || StartsWith(file, "PK\x05\x06")) {
    return "it is a ZIP archive (an .xlsx workbook or another zipped document renamed to .xls?)";
  }
  if (StartsWith(file, "%PDF")) return "it is a PDF document";
  if (StartsWith(file, "{\\rtf")) return "it is a Rich Text document";
  if (StartsWith(file, "\xFF\xFE") || StartsWith(file, "\xFE\xFF")) return "it is a UTF-16 text file";
  const std::string lead = LeadingText(file);
  if (lead.starts_with("<")) return "it is an HTML or XML document (saved as a web page?)";
  if (IsMostlyText(file)) return "it is a text file (CSV or similar)";
  return "its content is of no kind the reader knows";
}

}  // namespace dravella::engine::xls
