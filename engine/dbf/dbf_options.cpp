#include "engine/dbf/dbf_options.h"

#include "engine/code_pages.h"

namespace dravella::engine {

std::optional<DbfLevel> DbfLevelFromFileFormat(int32_t file_format) {
  switch (file_format) {
    case 7: return DbfLevel::kDbase2;
    case 8: return DbfLevel::kDbase3;
    case 11: return DbfLevel::kDbase4;
    default: return std::nullopt;
  }
}

std::optional<CodePage> ParseCodePage(std::string_view text) {
  const CodePageFacts* facts = FindCodePage(text);
  if (facts == nullptr) return std::nullopt;
  return static_cast<CodePage>(facts->number);
}

}  // namespace dravella::engine
