#include "core/command_line.h"

#include <algorithm>
#include <array>

#include "core/path_kind.h"
#include "core/path_join.h"
#include "engine/code_pages.h"

namespace dravella::core {
namespace {

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : static_cast<char>(c);
  });
  return lower;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string result;
  result.reserve(text.size());
  size_t start = 0;
  for (size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, start)) {
    result.append(text.substr(start, at - start)).append(to);
    start = at + from.size();
  }
  result.append(text.substr(start));
  return result;
}

// False, with the reason, for a switch that names something unknown.
bool ApplySwitch(const std::string& token, RunOptions& options) {
  const std::string lower = AsciiLower(token);
  if (lower == "/dbf2" || lower == "/dbf3" || lower == "/dbf4") {
    options.DbfSwitch = lower;
  } else if (lower == "/name=1" || lower == "/name=2" || lower == "/name=3") {
    options.NameSwitch = lower;
  } else if (lower == "/overwrite=0") {
    options.OverwriteExisting = false;
  } else if (lower == "/open=1") {
    options.OpenOutputFolder = true;
  } else if (lower.starts_with("/cp=")) {
    const engine::CodePageFacts* page = engine::FindCodePage(std::string_view(token).substr(4));
    if (page == nullptr) {
      // Writing another code page than the one asked for would pass unnoticed.
      options.RejectReason = UnknownCodePageMessage(token.substr(4));
      return false;
    }
    options.CodePage = std::string(page->key);
  }
  // "/overwrite=1", "/open=0" and unknown tokens change nothing.
  return true;
}

// Stands for a pair of quotes that is a whole word while the line is split.
constexpr std::string_view kEmptyWordMark = "\x01\x02\x01";

constexpr const char* kNoInputReason =
    "no input given (usage: dravbatch <input> <output-folder> [switch ...]; see dravbatch --help)";
constexpr const char* kTooManyWordsReason = "the command line holds more than 101 words";

bool Reject(RunOptions& options, std::string reason) {
  options.RejectReason = std::move(reason);
  return false;
}

// The words after the split, from the two fixed path positions to the switches.
bool InterpretTokens(const CommandTokens& tokens, RunOptions& options) {
  // The two positions are fixed: whatever stands there is taken as a path.
  // An empty word is an empty path: no input, or no output folder given.
  options.InputPath = tokens[0];
  options.OutputDir = tokens[1];
  if (options.InputPath.empty()) return Reject(options, kNoInputReason);
  const int kind = PathKind(options.InputPath);
  if (kind != kPathFolder && kind != kPathFile) {
    return Reject(options, options.InputPath +
                               ": neither an existing file nor an existing folder (hidden "
                               "entries, and patterns with * or ? that name no entry, are not "
                               "taken)");
  }
  options.OutputDir = WithSeparator(options.OutputDir);

  // Empty words among the switches change nothing; the last word ends them.
  size_t last = kLastSwitchSlot;
  while (last >= kFirstSwitchSlot && tokens[last].empty()) --last;
  for (size_t slot = kFirstSwitchSlot; slot <= last; ++slot) {
    if (!tokens[slot].empty() && !ApplySwitch(tokens[slot], options)) return false;
  }
  return true;
}

}  // namespace

bool IsKnownCodePage(std::string_view name) { return engine::FindCodePage(name) != nullptr; }

std::string UnknownCodePageMessage(std::string_view value) {
  return "unknown code page \"" + std::string(value) + "\" in /cp=; use one of " +
         engine::CodePageKeyList() + " (also 65001, utf-8 or cp and the number)";
}

bool SplitCommandLine(std::string_view text, CommandTokens& tokens) {
  tokens.fill(std::string());

  // Blanks inside a pair of quotes become the placeholder; then quotes go.
  // A pair of quotes standing alone as a word is an empty word: it keeps
  // its position, so the words after it are not taken for the ones before.
  std::string marked;
  int quotes = 0;
  for (size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    const bool word_starts = at == 0 || text[at - 1] == ' ';
    if (quotes == 0 && word_starts && text.substr(at).starts_with("\"\"") &&
        (at + 2 == text.size() || text[at + 2] == ' ')) {
      marked += kEmptyWordMark;
      ++at;
      continue;
    }
    if (c == '"') ++quotes;
    if (c == ' ' && quotes == 1) {
      marked += BlankPlaceholder;
    } else {
      marked += c;
    }
    if (c == '"' && quotes == 2) quotes = 0;
  }
  marked.erase(std::remove(marked.begin(), marked.end(), '"'), marked.end());

  size_t next_slot = 0;
  size_t start = 0;
  while (start <= marked.size()) {
    size_t end = marked.find(' ', start);
    if (end == std::string::npos) end = marked.size();
    const std::string_view raw_piece = std::string_view(marked).substr(start, end - start);
    if (raw_piece == kEmptyWordMark) {
      if (next_slot == tokens.size()) return false;
      tokens[next_slot++].clear();
    } else if (std::string piece = ReplaceAll(raw_piece, BlankPlaceholder, " "); !piece.empty()) {
      if (next_slot == tokens.size()) return false;
      tokens[next_slot++] = std::move(piece);
    }
    start = end + 1;
  }
  return true;
}

bool ParseCommandLine(std::string_view raw_line, CommandTokens& tokens, RunOptions& options) {
  options = RunOptions();
  tokens.fill(std::string());
  if (raw_line.empty()) return Reject(options, kNoInputReason);
  if (!SplitCommandLine(raw_line, tokens)) return Reject(options, kTooManyWordsReason);
  return InterpretTokens(tokens, options);
}

bool ParseArguments(int argc, const char* const* argv, CommandTokens& tokens, RunOptions& options) {
  options = RunOptions();
  tokens.fill(std::string());
  if (argc < 2) return Reject(options, kNoInputReason);
  if (static_cast<size_t>(argc - 1) > tokens.size()) return Reject(options, kTooManyWordsReason);
  // Each argument is one word as it is, quotes and all: the shell already
  // split the line, and on this platform '"', '*' and '?' belong to names.
  for (int i = 1; i < argc; ++i) tokens[i - 1] = argv[i];
  return InterpretTokens(tokens, options);
}

std::string JoinProcessArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (i > 1) line += ' ';
    if (argument.empty() || argument.find(' ') != std::string_view::npos) {
      line.append("\"").append(argument).append("\"");
    } else {
      line.append(argument);
    }
  }
  return line;
}

}  // namespace dravella::core
