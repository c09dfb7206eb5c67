#include "core/process_arguments.h"

#include <gtest/gtest.h>

#include <string>

namespace dravella::core {
namespace {

// A Windows process gets its whole command line, program name included.
TEST(ArgumentsAfterProgramNameTest, CutsTheProgramNameAsWindowsProgramsDo) {
  struct Case {
    std::string line;
    std::string arguments;
  };
  const Case cases[] = {
      {"dravbatch.exe in.xls out", "in.xls out"},
      {"\"C:\\Program Files\\Dravella\\dravbatch.exe\" \"C:\\My Data\" out /dbf4",
       "\"C:\\My Data\" out /dbf4"},
      {"\"C:\\Tools\\dravbatch.exe\"in.xls", "in.xls"},  // no blank after the quotes
      {"dravbatch.exe \t  in.xls  out  ", "in.xls  out  "},  // the rest is left as typed
      {"dravbatch.exe\tin.xls", "in.xls"},
      {"dravbatch.exe", ""},
      {"\"C:\\unterminated in.xls", ""},
      {"", ""},
      {"dravbatch.exe \"Données\\Отчёт 2024.xls\" 売上", "\"Données\\Отчёт 2024.xls\" 売上"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ArgumentsAfterProgramName(c.line), c.arguments) << c.line;
  }
}

}  // namespace
}  // namespace dravella::core
