// Every BIFF record id the reader looks at, in one table.
//
// BIFF2 numbers its cell records 0x00nn; BIFF3 and later add 0x0200 to the
// same records (and BIFF4 0x0400 to a few), so the version shows in the id.
#pragma once

#include <cstdint>

namespace dravella::engine::xls::record_id {

// Substream frame.
constexpr uint16_t kBof2 = 0x0009;
constexpr uint16_t kBof3 = 0x0209;
constexpr uint16_t kBof4 = 0x0409;
constexpr uint16_t kBof = 0x0809;  // BIFF5, BIFF7, BIFF8
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kContinue = 0x003C;

// Workbook globals.
constexpr uint16_t kBoundSheet = 0x0085;
constexpr uint16_t kSheetHeader = 0x008F;  // BIFF4 workbook: a sheet substream follows
constexpr uint16_t kSst = 0x00FC;
constexpr uint16_t kFilePass = 0x002F;
constexpr uint16_t kCodePage = 0x0042;
constexpr uint16_t kDateMode = 0x0022;
constexpr uint16_t kFormat2 = 0x001E;  // BIFF2, BIFF3
constexpr uint16_t kFormat = 0x041E;   // BIFF4 to BIFF8
constexpr uint16_t kXf2 = 0x0043;
constexpr uint16_t kXf3 = 0x0243;
constexpr uint16_t kXf4 = 0x0443;
constexpr uint16_t kXf = 0x00E0;    // BIFF5 to BIFF8
constexpr uint16_t kIxfe = 0x0044;  // BIFF2: the XF index of the next cells

// Worksheet.
constexpr uint16_t kDimensions2 = 0x0000;  // BIFF2
constexpr uint16_t kDimensions = 0x0200;   // BIFF3 to BIFF8

// Cells.
constexpr uint16_t kBlank2 = 0x0001;
constexpr uint16_t kInteger2 = 0x0002;
constexpr uint16_t kNumber2 = 0x0003;
constexpr uint16_t kLabel2 = 0x0004;
constexpr uint16_t kBoolErr2 = 0x0005;
constexpr uint16_t kFormula2 = 0x0006;  // BIFF2 layout
constexpr uint16_t kString2 = 0x0007;
constexpr uint16_t kBlank = 0x0201;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kLabel = 0x0204;
constexpr uint16_t kBoolErr = 0x0205;
constexpr uint16_t kFormula3 = 0x0206;
constexpr uint16_t kString = 0x0207;
constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kFormula4 = 0x0406;
constexpr uint16_t kFormula = 0x0006;  // BIFF5 to BIFF8 layout, same id as BIFF2
constexpr uint16_t kMulRk = 0x00BD;
constexpr uint16_t kMulBlank = 0x00BE;
constexpr uint16_t kRString = 0x00D6;
constexpr uint16_t kLabelSst = 0x00FD;

}  // namespace dravella::engine::xls::record_id
