#include "engine/code_pages.h"

#include <algorithm>

namespace dravella::engine {
namespace {

struct Row {
  uint16_t number;
  std::string_view key;
  std::string_view name;
  std::array<std::string_view, 2> aliases;
  uint8_t language_driver;
  std::string_view cpg_text;
};

constexpr Row kRows[] = {
    {437, "437", "437 - DOS United States", {}, 0x01, ""},
    {737, "737", "737 - DOS Greek", {}, 0x6A, ""},
    {850, "850", "850 - DOS Western European (Multilingual Latin I)", {}, 0x02, ""},
    {852, "852", "852 - DOS Central European", {}, 0x64, ""},
    {857, "857", "857 - DOS Turkish", {}, 0x6B, ""},
    {860, "860", "860 - DOS Portuguese", {}, 0x24, ""},
    {861, "861", "861 - DOS Icelandic", {}, 0x67, ""},
    {863, "863", "863 - DOS Canadian French", {}, 0x1C, ""},
    {865, "865", "865 - DOS Nordic", {}, 0x66, ""},
    {866, "866", "866 - DOS Russian", {}, 0x65, ""},
    {874, "874", "874 - Thai", {}, 0x7C, ""},
    {932, "932", "932 - Japanese (Shift-JIS)", {}, 0x7B, ""},
    {936, "936", "936 - Chinese Simplified (GBK)", {}, 0x7A, ""},
    {949, "949", "949 - Korean (Unified Hangul)", {}, 0x79, ""},
    {950, "950", "950 - Chinese Traditional (Big5)", {}, 0x78, ""},
    {1250, "1250", "1250 - Central European (Windows)", {}, 0xC8, ""},
    {1251, "1251", "1251 - Cyrillic (Windows)", {}, 0xC9, ""},
    {1252, "1252", "1252 - Western European (Windows)", {}, 0x03, ""},
    {1253, "1253", "1253 - Greek (Windows)", {}, 0xCB, ""},
    {1254, "1254", "1254 - Turkish (Windows)", {}, 0xCA, ""},
    {1255, "1255", "1255 - Hebrew (Windows)", {}, 0x7D, ""},
    {1256, "1256", "1256 - Arabic (Windows)", {}, 0x7E, ""},
    {1257, "1257", "1257 - Baltic (Windows)", {}, 0xCC, ""},
    {kUtf8CodePage, "utf8", "UTF-8 - Unicode", {"utf-8"}, 0x00, "UTF-8"},
};

constexpr size_t kCount = std::size(kRows);

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::span<const CodePageFacts> TableCodePages() {
  // The generated tables are constants, so looking them up here is safe at any time.
  static const std::array<CodePageFacts, kCount> kFacts = [] {
    std::array<CodePageFacts, kCount> facts{};
    for (size_t i = 0; i < kCount; ++i) {
      const Row& row = kRows[i];
      facts[i] = {row.number,          row.key,      row.name,
                  row.aliases,         row.language_driver, row.cpg_text,
                  row.number == kUtf8CodePage ? nullptr : CodePageTableOf(row.number)};
    }
    return facts;
  }();
  return kFacts;
}

const CodePageFacts* CodePageFactsOf(uint16_t number) {
  for (const CodePageFacts& facts : TableCodePages()) {
    if (facts.number == number) return &facts;
  }
  return nullptr;
}

const CodePageFacts* FindCodePage(std::string_view spelling) {
  for (const CodePageFacts& facts : TableCodePages()) {
    const std::string number = std::to_string(facts.number);
    if (EqualsIgnoringCase(spelling, facts.key) || spelling == number ||
        EqualsIgnoringCase(spelling, "cp" + number)) {
      return &facts;
    }
    for (std::string_view alias : facts.aliases) {
      if (!alias.empty() && EqualsIgnoringCase(spelling, alias)) return &facts;
    }
  }
  return nullptr;
}

std::string CodePageKeyList() {
  std::string list;
  for (const CodePageFacts& facts : TableCodePages()) {
    if (!list.empty()) list += ", ";
    list += facts.key;
  }
  return list;
}

}  // namespace dravella::engine
