// Field names from the header row: cleaned, at most 10 characters, unique.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dravella::engine::dbf {

inline constexpr size_t kMaxFieldNameLength = 10;

// One header text (UTF-8) as a name: A-Z, 0-9 and '_' only (a-z upper-cased,
// every other character one '_'); FIELDn when nothing is left (n counting
// columns from 1); an 'F' in front when it does not begin with a letter;
// cut to 10 characters. Not yet made unique.
std::string CleanFieldName(std::string_view header_text, size_t column_number);

// Names for the header texts in column order; a name already taken gets
// _2, _3, ... (the first free one), cut so that it stays within 10.
std::vector<std::string> MakeFieldNames(const std::vector<std::string>& header_texts);

}  // namespace dravella::engine::dbf
