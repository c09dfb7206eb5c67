// Names of the DBF files: the base name of each converted worksheet, and two
// small text helpers that the folder scans and the Convert command use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dravella::core {

// How a DBF file is named after its worksheet.
enum NamingMode : int {
  kNamePlain = 0,      // the worksheet name as it is (command-line default)
  kNameSheet = 1,      // after the worksheet; book_sheet when both are alike
  kNameBookSheet = 2,  // book name + "_" + worksheet name
  kNameNumbered = 3,   // 1, 2, 3 ... from SheetCounter
};

// Where the replacement names of unusable base names come from.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void ReseedFromClock() = 0;
  virtual double NextUnit() = 0;  // uniform in [0, 1)
};

// A generator seeded from the system clock each time it is asked to be.
RandomSource& ClockSeededRandom();

// The naming state of one program: the running number of the numbered mode
// and the generator of replacement names.
class OutputNaming {
 public:
  explicit OutputNaming(RandomSource& random = ClockSeededRandom()) : random_(random) {}

  // The base name (without ".dbf") of a worksheet's file. The cleaned name
  // loses the characters no file name may hold; a name that comes out empty,
  // begins with a blank or was cut down to a single character gets random
  // digits. Mode 3 raises SheetCounter before it uses it.
  std::string DbfBaseName(int mode, std::string_view book_name, std::string_view worksheet_name);

  // The last number used by the numbered mode; callers set it back to 0
  // after each workbook that was worked through to its end.
  int32_t SheetCounter = 0;

 private:
  std::string RandomNumberText(int upper);
  RandomSource& random_;
};

// The candidate name with the characters removed that a file name cannot hold
// or that would lead out of the output folder.
std::string RemoveForbiddenCharacters(std::string_view name);

// The text after the last dot or blank of a name, lower-cased; the whole name
// lower-cased when it has neither.
std::string FileExtension(std::string_view file_name);

// The text with every blank and every dot removed.
std::string RemoveBlanksAndDots(std::string_view text);

}  // namespace dravella::core
