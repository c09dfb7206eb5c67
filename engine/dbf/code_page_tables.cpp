#include "engine/dbf/code_page_tables.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/code_page_tables.h"

namespace dravella::engine::dbf {
namespace {

uint16_t WindowsNumberOf(CodePage page) {
  switch (page) {
    case CodePage::k437: return 437;
    case CodePage::k850: return 850;
    case CodePage::k852: return 852;
    case CodePage::k866: return 866;
    case CodePage::k1250: return 1250;
    case CodePage::k1251: return 1251;
    case CodePage::k1252: return 1252;
    case CodePage::k1253: return 1253;
    case CodePage::k1254: return 1254;
    case CodePage::k1257: return 1257;
    case CodePage::kUtf8: return 0;
  }
  return 0;
}

// The decoding table turned around: each defined byte under its character,
// sorted by character for a binary search.
std::vector<CodePointByte> Inverse(CodePage page) {
  std::vector<CodePointByte> inverse;
  const char16_t* upper = UpperHalfOfCodePage(WindowsNumberOf(page));
  if (upper == nullptr) return inverse;
  for (int i = 0; i < 128; ++i) {
    if (upper[i] != u'\uFFFD') {
      inverse.push_back({static_cast<uint16_t>(upper[i]), static_cast<uint8_t>(0x80 + i)});
    }
  }
  std::sort(inverse.begin(), inverse.end(),
            [](const CodePointByte& a, const CodePointByte& b) { return a.code_point < b.code_point; });
  return inverse;
}

}  // namespace

std::span<const CodePointByte> UpperHalfOf(CodePage page) {
  static const std::array<std::vector<CodePointByte>, 11> kInverses = [] {
    std::array<std::vector<CodePointByte>, 11> all;
    for (size_t i = 0; i < all.size(); ++i) all[i] = Inverse(static_cast<CodePage>(i));
    return all;
  }();
  return kInverses[static_cast<size_t>(page)];
}

}  // namespace dravella::engine::dbf
