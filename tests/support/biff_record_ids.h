// Every BIFF record id the builder writes, in one place. Where a record's id
// changed between versions, the suffix names the versions of the old id.
#pragma once

#include <cstdint>

namespace dravella::testing::record {

// Stream structure.
inline constexpr uint16_t kBof = 0x0809;  // BIFF5, BIFF8
inline constexpr uint16_t kBof4 = 0x0409;
inline constexpr uint16_t kBof3 = 0x0209;
inline constexpr uint16_t kBof2 = 0x0009;
inline constexpr uint16_t kEof = 0x000A;
inline constexpr uint16_t kContinue = 0x003C;

// Workbook globals.
inline constexpr uint16_t kFilePass = 0x002F;
inline constexpr uint16_t kCodepage = 0x0042;
inline constexpr uint16_t kDateMode = 0x0022;
inline constexpr uint16_t kWindow1 = 0x003D;
inline constexpr uint16_t kFont = 0x0031;    // BIFF2, BIFF5, BIFF8
inline constexpr uint16_t kFont34 = 0x0231;  // BIFF3, BIFF4
inline constexpr uint16_t kFormat = 0x041E;  // BIFF4 to BIFF8
inline constexpr uint16_t kFormat23 = 0x001E;
inline constexpr uint16_t kXf = 0x00E0;  // BIFF5, BIFF8
inline constexpr uint16_t kXf4 = 0x0443;
inline constexpr uint16_t kXf3 = 0x0243;
inline constexpr uint16_t kXf2 = 0x0043;
inline constexpr uint16_t kStyle = 0x0293;
inline constexpr uint16_t kBoundSheet = 0x0085;
inline constexpr uint16_t kSheetsOffset = 0x008E;  // BIFF4 workbook only
inline constexpr uint16_t kSheetHeader = 0x008F;   // BIFF4 workbook only
inline constexpr uint16_t kSst = 0x00FC;
inline constexpr uint16_t kExtSst = 0x00FF;

// Worksheet structure.
inline constexpr uint16_t kDimensions = 0x0200;  // BIFF3 to BIFF8
inline constexpr uint16_t kDimensions2 = 0x0000;
inline constexpr uint16_t kWindow2 = 0x023E;  // BIFF3 to BIFF8
inline constexpr uint16_t kWindow2Biff2 = 0x003E;

// Cells.
inline constexpr uint16_t kBlank = 0x0201;
inline constexpr uint16_t kBlank2 = 0x0001;
inline constexpr uint16_t kMulBlank = 0x00BE;
inline constexpr uint16_t kInteger2 = 0x0002;  // BIFF2 only
inline constexpr uint16_t kNumber = 0x0203;
inline constexpr uint16_t kNumber2 = 0x0003;
inline constexpr uint16_t kRk = 0x027E;
inline constexpr uint16_t kMulRk = 0x00BD;
inline constexpr uint16_t kLabel = 0x0204;
inline constexpr uint16_t kLabel2 = 0x0004;
inline constexpr uint16_t kLabelSst = 0x00FD;
inline constexpr uint16_t kRString = 0x00D6;
inline constexpr uint16_t kBoolErr = 0x0205;
inline constexpr uint16_t kBoolErr2 = 0x0005;
inline constexpr uint16_t kFormula = 0x0006;  // BIFF2, BIFF5, BIFF8
inline constexpr uint16_t kFormula3 = 0x0206;
inline constexpr uint16_t kFormula4 = 0x0406;
inline constexpr uint16_t kString = 0x0207;  // BIFF3 to BIFF8
inline constexpr uint16_t kString2 = 0x0007;
inline constexpr uint16_t kShrFmla = 0x04BC;  // BIFF5, BIFF8
inline constexpr uint16_t kArray = 0x0221;    // BIFF3 to BIFF8
inline constexpr uint16_t kArray2 = 0x0021;

}  // namespace dravella::testing::record
