// The one argument string the program's command line is made of: the text
// after the program's own name, as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace dravella::core {

// This process's argument string. On Windows it is the command line exactly
// as typed (GetCommandLineW), so that quotes reach the splitting untouched
// and no name passes through the ANSI code page; elsewhere the arguments are
// joined back as JoinProcessArguments does.
std::string ProcessArgumentString(int argc, const char* const* argv);

// The part of a whole Windows command line after the program's name: a name
// starting with a double quote runs to the next double quote, any other to
// the first blank or tab; the blanks and tabs after it are dropped.
std::string_view ArgumentsAfterProgramName(std::string_view command_line);

}  // namespace dravella::core
