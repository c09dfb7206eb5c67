// The test workbook builder: writes .xls files (compound file + BIFF
// records) from code. Include this one header.
//
//   CompoundFileBuilder   the OLE2 container, streams by name
//   BiffWriter            records, CONTINUE splitting
//   ContinuedRecord       records cut only where the format allows
//   WorkbookBuilder       whole workbooks, BIFF2 to BIFF8
//   SheetBuilder          the cells of one sheet
#pragma once

#include "tests/support/biff_record_ids.h"
#include "tests/support/biff_writer.h"
#include "tests/support/byte_writer.h"
#include "tests/support/compound_file_builder.h"
#include "tests/support/rk_value.h"
#include "tests/support/text_encoding.h"
#include "tests/support/workbook_builder.h"
