#include "core/command_line.h"

#include <algorithm>
#include <array>

#include "core/path_kind.h"
#include "engine/code_pages.h"

namespace dravella::core {
namespace {

constexpr char kSeparator = '/';

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
bool ApplySwitch(const std::string& token, RunOptions& options, std::string* why) {
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
      if (why) *why = UnknownCodePageMessage(token.substr(4));
      return false;
    }
    options.CodePage = std::string(page->key);
  }
  // "/overwrite=1", "/open=0" and unknown tokens change nothing.
  return true;
}

}  // namespace

bool IsKnownCodePage(std::string_view name) { return engine::FindCodePage(name) != nullptr; }

std::string UnknownCodePageMessage(std::string_view value) {
  return "dravbatch: unknown code page \"" + std::string(value) + "\" in /cp=; use one of " +
         engine::CodePageKeyList() + " (also 65001, utf-8 or cp and the number)";
}

bool SplitCommandLine(std::string_view text, CommandTokens& tokens) {
  tokens.fill(std::string());

  // Blanks inside a pair of quotes become the placeholder; then quotes go.
  std::string marked;
  int quotes = 0;
  for (char c : text) {
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
    std::string piece =
        ReplaceAll(std::string_view(marked).substr(start, end - start), BlankPlaceholder, " ");
    if (!piece.empty()) {
      if (next_slot == tokens.size()) return false;
      tokens[next_slot++] = std::move(piece);
    }
    start = end + 1;
  }
  return true;
}

bool ParseCommandLine(std::string_view raw_line, CommandTokens& tokens, RunOptions& options,
                      std::string* why) {
  if (why) why->clear();
  options = RunOptions();
  tokens.fill(std::string());
  if (raw_line.empty()) return false;
  if (!SplitCommandLine(raw_line, tokens)) return false;

  // The two positions are fixed: whatever stands there is taken as a path.
  options.InputPath = tokens[0];
  options.OutputDir = tokens[1];
  const int kind = PathKind(options.InputPath);
  if (kind != kPathFolder && kind != kPathFile) return false;
  if (options.OutputDir.empty() || options.OutputDir.back() != kSeparator) {
    options.OutputDir += kSeparator;
  }

  for (size_t slot = kFirstSwitchSlot; slot <= kLastSwitchSlot && !tokens[slot].empty(); ++slot) {
    if (!ApplySwitch(tokens[slot], options, why)) return false;
  }
  return true;
}

std::string JoinProcessArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (i > 1) line += ' ';
    if (argument.find(' ') != std::string_view::npos) {
      line.append("\"").append(argument).append("\"");
    } else {
      line.append(argument);
    }
  }
  return line;
}

}  // namespace dravella::core
