// Names what a file that is not an .xls workbook seems to be, for the
// message that refuses it.
#pragma once

#include <string>

#include "engine/xls/byte_reader.h"

namespace dravella::engine::xls {

// True when the bytes begin with a BIFF BOF record: a workbook or worksheet
// file without the compound-file container (BIFF2 to BIFF5).
bool LooksLikeBareBiff(Bytes file);

// "a ZIP archive (an .xlsx workbook or another zipped document)", "an HTML
// or XML document", "a text file (CSV or similar)", ...
std::string DescribeContent(Bytes file);

}  // namespace dravella::engine::xls
