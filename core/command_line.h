// The command line of dravbatch: from one argument string to the run settings.
//
//   dravbatch <input> <output-folder> [switch ...]
//
// Double quotes group words (a blank inside a pair of quotes belongs to the
// token); tokens keep their letter case so that paths are used as typed, and
// only the comparison with the switch table ignores case.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/path_join.h"

namespace dravella::core {

// Stands for a blank inside double quotes while the line is split.
inline constexpr std::string_view BlankPlaceholder = "!@@#!$%@#%$#@^";

// Slots 0 to 100: the tokens in order, then empty slots. A pair of quotes
// standing alone as a word is an empty token in its position.
inline constexpr size_t kCommandTokenSlots = 101;
using CommandTokens = std::array<std::string, kCommandTokenSlots>;

// Twelve switch positions follow the two paths: slots 2 to 13.
inline constexpr size_t kFirstSwitchSlot = 2;
inline constexpr size_t kLastSwitchSlot = 13;

struct RunOptions {
  std::string InputPath;
  std::string OutputDir{kPathSeparator};  // always ends with a separator
  std::string DbfSwitch = "/dbf3";      // the last of /dbf2, /dbf3, /dbf4
  std::string NameSwitch;               // the last of /name=1..3; empty: plain names
  bool OverwriteExisting = true;        // cleared for good by /overwrite=0
  bool OpenOutputFolder = false;        // set for good by /open=1
  std::string CodePage = "1252";        // the last /cp=, as its key ("936", "utf8")
  std::string RejectReason;             // why the line was rejected, when it was
};

// Splits text into tokens; false when a 102nd non-empty token finds no slot.
bool SplitCommandLine(std::string_view text, CommandTokens& tokens);

// Fills options from the raw argument string; false when there is nothing to
// do: an empty line, too many tokens, an empty input, or an input that is
// neither an existing file nor an existing folder, or a /cp= naming no known
// code page. RejectReason then says which. An empty output word means no output folder, as a missing one does.
bool ParseCommandLine(std::string_view raw_line, CommandTokens& tokens, RunOptions& options);

// As ParseCommandLine, from the process's arguments as the system split
// them: each argument is one token, empty ones included, quotes kept.
bool ParseArguments(int argc, const char* const* argv, CommandTokens& tokens, RunOptions& options);

// The argument string as the process got it: the arguments joined by single
// blanks, each one that holds a blank, or is empty, wrapped in double quotes.
std::string JoinProcessArguments(int argc, const char* const* argv);

// The code pages /cp= accepts, as typed after "=": the numbers of the code
// page table, "cp" and the number, utf8, utf-8 and 65001, in any case.
bool IsKnownCodePage(std::string_view name);

// The line that rejects an unknown /cp= value, naming the accepted ones.
std::string UnknownCodePageMessage(std::string_view value);

}  // namespace dravella::core
