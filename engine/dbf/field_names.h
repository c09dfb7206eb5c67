// Field names from the header row: the letters and digits of any script the
// table's code page holds, at most 10 bytes, unique.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/dbf/dbf_options.h"

namespace dravella::engine::dbf {

inline constexpr size_t kMaxFieldNameLength = 10;  // bytes in the code page

// Names for the header texts (UTF-8) in column order, as bytes in the code
// page. A letter or decimal digit of any script that the page holds is kept,
// upper-cased where the upper-case form is one character the page holds
// too; '_' stays; every other character becomes one '_'. Nothing left gives
// FIELDn (n counting columns from 1); a name that does not begin with a
// letter gets an 'F' in front. Names are cut to 10 bytes, never inside a
// character, and a name already taken gets _2, _3, ... (the first free one),
// cut so that it stays within 10 bytes.
std::vector<std::string> MakeFieldNames(const std::vector<std::string>& header_texts,
                                        CodePage page = CodePage::k1252);

}  // namespace dravella::engine::dbf
