#include "engine/dbf/field_names.h"

#include <algorithm>

#include "engine/utf8.h"

namespace dravella::engine::dbf {

std::string CleanFieldName(std::string_view header_text, size_t column_number) {
  std::string name;
  size_t pos = 0;
  while (pos < header_text.size()) {
    const char32_t c = NextCharacter(header_text, pos);
    if (c >= 'a' && c <= 'z') {
      name.push_back(static_cast<char>(c - 'a' + 'A'));
    } else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') {
      name.push_back(static_cast<char>(c));
    } else {
      name.push_back('_');
    }
  }
  if (name.empty()) {
    name = "FIELD" + std::to_string(column_number);
  } else if (name[0] < 'A' || name[0] > 'Z') {
    name.insert(name.begin(), 'F');
  }
  if (name.size() > kMaxFieldNameLength) name.resize(kMaxFieldNameLength);
  return name;
}

std::vector<std::string> MakeFieldNames(const std::vector<std::string>& header_texts) {
  std::vector<std::string> names;
  names.reserve(header_texts.size());
  auto taken = [&names](const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  for (size_t i = 0; i < header_texts.size(); ++i) {
    std::string name = CleanFieldName(header_texts[i], i + 1);
    if (taken(name)) {
      for (size_t k = 2;; ++k) {
        const std::string suffix = std::string(1, '_').append(std::to_string(k));
        std::string candidate = name.substr(0, kMaxFieldNameLength - suffix.size());
        candidate += suffix;
        if (!taken(candidate)) {
          name = std::move(candidate);
          break;
        }
      }
    }
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace dravella::engine::dbf
