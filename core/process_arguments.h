// This process's command line, read the way the platform hands it over, and
// turned into the words and run settings of dravbatch.
#pragma once

#include <string_view>

#include "core/command_line.h"

namespace dravella::core {

// Fills tokens and options from this process's command line, as
// ParseCommandLine does. On Windows the words come from the command line
// exactly as typed (GetCommandLineW, then SplitCommandLine), so that quotes
// reach the splitting untouched and no name passes through the ANSI code
// page; elsewhere the system has split them already and each argument is
// one word (ParseArguments), so that names holding '"' survive.
bool ParseProcessArguments(int argc, const char* const* argv, CommandTokens& tokens,
                           RunOptions& options);

// The part of a whole Windows command line after the program's name: a name
// starting with a double quote runs to the next double quote, any other to
// the first blank or tab; the blanks and tabs after it are dropped.
std::string_view ArgumentsAfterProgramName(std::string_view command_line);

}  // namespace dravella::core
