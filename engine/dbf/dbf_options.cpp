#include "engine/dbf/dbf_options.h"

#include <array>
#include <utility>

namespace dravella::engine {

std::optional<DbfLevel> DbfLevelFromFileFormat(int32_t file_format) {
  switch (file_format) {
    case 7: return DbfLevel::kDbase2;
    case 8: return DbfLevel::kDbase3;
    case 11: return DbfLevel::kDbase4;
    default: return std::nullopt;
  }
}

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (x != b[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<CodePage> ParseCodePage(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, CodePage>, 12> kNames = {{
      {"437", CodePage::k437},   {"850", CodePage::k850},   {"852", CodePage::k852},
      {"866", CodePage::k866},   {"1250", CodePage::k1250}, {"1251", CodePage::k1251},
      {"1252", CodePage::k1252}, {"1253", CodePage::k1253}, {"1254", CodePage::k1254},
      {"1257", CodePage::k1257}, {"utf8", CodePage::kUtf8}, {"utf-8", CodePage::kUtf8},
  }};
  for (const auto& [name, page] : kNames) {
    if (EqualsIgnoringCase(text, name)) return page;
  }
  return std::nullopt;
}

}  // namespace dravella::engine
