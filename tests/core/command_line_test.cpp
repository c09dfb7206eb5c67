#include "core/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/platform/file_system.h"
#include "tests/core/hidden_file.h"
#include "tests/core/temp_folder.h"

namespace dravella::core {
namespace {

// The slots up to the last non-empty one: empty words inside stay visible.
std::vector<std::string> Filled(const CommandTokens& tokens) {
  size_t end = tokens.size();
  while (end > 0 && tokens[end - 1].empty()) --end;
  return std::vector<std::string>(tokens.begin(), tokens.begin() + end);
}

struct SplitCase {
  std::string line;
  std::vector<std::string> tokens;
};

TEST(SplitCommandLineTest, GroupsQuotedWordsAndDropsEmptyPieces) {
  const std::string ph(BlankPlaceholder);
  const SplitCase cases[] = {
      {"a b c", {"a", "b", "c"}},
      {"a   b", {"a", "b"}},                                 // no empty tokens
      {"  a  ", {"a"}},
      {"\"C:/My Files/in.xls\" \"out dir\"", {"C:/My Files/in.xls", "out dir"}},
      {"/data/\"My Files\"/in.xls", {"/data/My Files/in.xls"}},  // quotes around a part
      {"one \"two three four", {"one", "two three four"}},   // unmatched quote
      // A pair of quotes as a whole word is an empty word in its position;
      // one inside a word adds nothing.
      {"a \"\" b", {"a", "", "b"}},
      {"\"\" b", {"", "b"}},
      {"a \"\" \"\" /dbf4", {"a", "", "", "/dbf4"}},
      {"a\"\"b", {"ab"}},
      {"a \" \" b", {"a", " ", "b"}},                        // a lone blank is kept
      {"x" + ph + "y", {"x y"}},                             // the placeholder typed in
      {"Mixed/Case.XLS", {"Mixed/Case.XLS"}},                // case is kept
      {"tab\there", {"tab\there"}},                          // only blanks separate
      {"\"a b\"\"c d\"", {"a bc d"}},
  };
  for (const SplitCase& c : cases) {
    CommandTokens tokens;
    ASSERT_TRUE(SplitCommandLine(c.line, tokens)) << c.line;
    EXPECT_EQ(Filled(tokens), c.tokens) << c.line;
  }
}

TEST(SplitCommandLineTest, HoldsAtMost101Tokens) {
  auto line_of = [](int count) {
    std::string line;
    for (int i = 0; i < count; ++i) line += "t" + std::to_string(i) + " ";
    return line;
  };
  CommandTokens tokens;
  ASSERT_TRUE(SplitCommandLine(line_of(101), tokens));
  EXPECT_EQ(tokens[100], "t100");
  EXPECT_FALSE(SplitCommandLine(line_of(102), tokens));
}

class ParseCommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    book_ = tree_.WriteFile("In Put/Book.xls");
    folder_ = (tree_.path() / "In Put").string();
  }
  bool Parse(const std::string& line) { return ParseCommandLine(line, tokens_, options_); }

  testing::TempFolder tree_;
  std::string book_;
  std::string folder_;
  CommandTokens tokens_;
  RunOptions options_;
};

TEST_F(ParseCommandLineTest, QuotedPathsKeepTheirBlanksAndDefaultsHold) {
  ASSERT_TRUE(Parse("\"" + book_ + "\" \"/tmp/Out Dir\""));
  EXPECT_EQ(options_.InputPath, book_);
  EXPECT_EQ(options_.OutputDir, std::string("/tmp/Out Dir") + platform::kPathSeparator);
  EXPECT_EQ(options_.DbfSwitch, "/dbf3");
  EXPECT_EQ(options_.NameSwitch, "");
  EXPECT_TRUE(options_.OverwriteExisting);
  EXPECT_FALSE(options_.OpenOutputFolder);
  EXPECT_EQ(options_.CodePage, "1252");
}

TEST_F(ParseCommandLineTest, OutputFolderGetsOneSeparator) {
  // The separator appended is the platform's; on Windows a slash or a
  // backslash already there is enough.
  struct OutputCase {
    std::string typed;
    std::string on_posix;
    std::string on_windows;
  };
  const OutputCase cases[] = {
      {"/tmp/out/", "/tmp/out/", "/tmp/out/"},
      {"/tmp/out", "/tmp/out/", "/tmp/out\\"},
      {"", "/", "\\"},  // no output folder: the root folder (of the current drive)
      {"C:\\Out", "C:\\Out/", "C:\\Out\\"},
      {"C:\\Out\\", "C:\\Out\\/", "C:\\Out\\"},
      {"D:", "D:/", "D:\\"},
      {"\\\\server\\share\\out", "\\\\server\\share\\out/", "\\\\server\\share\\out\\"},
  };
  const bool windows = platform::kPathSeparator == '\\';
  for (const OutputCase& c : cases) {
    ASSERT_TRUE(Parse("\"" + folder_ + "\" \"" + c.typed + "\"")) << c.typed;
    EXPECT_EQ(options_.OutputDir, windows ? c.on_windows : c.on_posix) << c.typed;
  }
}

TEST_F(ParseCommandLineTest, RejectsWhatLeavesNothingToDo) {
  const std::string rejected[] = {
      "",
      "/dbf4 \"" + book_ + "\" /tmp/out",      // a switch in the input's place
      "\"" + folder_ + "/*.xls\" /tmp/out",     // a wildcard
      "\"" + folder_ + "/missing.xls\" /tmp/out",
      WriteHiddenFile(tree_, "hidden.xls") + " /tmp/out",
  };
  for (const std::string& line : rejected) {
    EXPECT_FALSE(Parse(line)) << line;
  }
  std::string too_many = "\"" + book_ + "\" out";
  for (int i = 0; i < 100; ++i) too_many += " x";  // 102 tokens
  EXPECT_FALSE(Parse(too_many));
}

struct SwitchCase {
  std::string switches;
  std::string dbf;
  std::string name;
  bool overwrite;
  bool open;
  std::string code_page;
};

TEST_F(ParseCommandLineTest, AppliesSwitchesByTheirRules) {
  const SwitchCase cases[] = {
      {"/dbf2 /dbf4", "/dbf4", "", true, false, "1252"},        // last wins
      {"/DBF2", "/dbf2", "", true, false, "1252"},              // any case
      {"/name=3 /Name=1", "/dbf3", "/name=1", true, false, "1252"},
      {"/overwrite=0 /overwrite=1", "/dbf3", "", false, false, "1252"},  // held once seen
      {"/open=1 /open=0", "/dbf3", "", true, true, "1252"},
      {"/cp=866 /CP=UTF8", "/dbf3", "", true, false, "utf8"},
      {"/cp=utf-8", "/dbf3", "", true, false, "utf8"},
      {"/cp=65001", "/dbf3", "", true, false, "utf8"},
      {"/cp=CP936", "/dbf3", "", true, false, "936"},
      {"/cp=932 /cp=950", "/dbf3", "", true, false, "950"},
      {"/dbf5 /name=4 -x third.xls", "/dbf3", "", true, false, "1252"},
      // Twelve switch positions: the thirteenth is never looked at.
      {"a a a a a a a a a a a /dbf4 /dbf2", "/dbf4", "", true, false, "1252"},
  };
  for (const SwitchCase& c : cases) {
    ASSERT_TRUE(Parse("\"" + book_ + "\" out " + c.switches)) << c.switches;
    EXPECT_EQ(options_.DbfSwitch, c.dbf) << c.switches;
    EXPECT_EQ(options_.NameSwitch, c.name) << c.switches;
    EXPECT_EQ(options_.OverwriteExisting, c.overwrite) << c.switches;
    EXPECT_EQ(options_.OpenOutputFolder, c.open) << c.switches;
    EXPECT_EQ(options_.CodePage, c.code_page) << c.switches;
  }
}

TEST_F(ParseCommandLineTest, AnUnknownCodePageRejectsTheLineAndSaysWhy) {
  for (const std::string value : {"999", "", "1258", "utf16", "cp"}) {
    EXPECT_FALSE(ParseCommandLine("\"" + book_ + "\" out /dbf4 /cp=" + value, tokens_, options_))
        << value;
    const std::string& why = options_.RejectReason;
    EXPECT_NE(why.find("\"" + value + "\""), std::string::npos) << why;
    EXPECT_NE(why.find("437, 737, 850"), std::string::npos) << why;
    EXPECT_NE(why.find("1257, utf8"), std::string::npos) << why;
  }
}

TEST(JoinProcessArgumentsTest, RoundTripsThroughTheSplit) {
  const char* argv[] = {"dravbatch", "/data/My Book.xls", "", "/DBF4", "a  b"};
  const std::string line = JoinProcessArguments(5, argv);
  EXPECT_EQ(line, "\"/data/My Book.xls\" \"\" /DBF4 \"a  b\"");
  CommandTokens tokens;
  ASSERT_TRUE(SplitCommandLine(line, tokens));
  EXPECT_EQ(Filled(tokens), (std::vector<std::string>{"/data/My Book.xls", "", "/DBF4", "a  b"}));
}

// An empty argument is an empty word where it stands: it never lets the
// words after it move into the path positions.
TEST_F(ParseCommandLineTest, EmptyArgumentsKeepTheirPositions) {
  const auto parse = [this](std::vector<std::string> words) {
    std::vector<const char*> argv{"dravbatch"};
    for (const std::string& word : words) argv.push_back(word.c_str());
    return ParseArguments(static_cast<int>(argv.size()), argv.data(), tokens_, options_);
  };
  EXPECT_FALSE(parse({"", folder_}));  // no input: never the output folder in its place
  EXPECT_NE(options_.RejectReason.find("no input"), std::string::npos);
  EXPECT_FALSE(Parse("\"\" \"" + folder_ + "\""));

  const std::string root(1, kPathSeparator);  // as when no output folder is given
  ASSERT_TRUE(parse({book_, "", "/dbf4", "", "/name=3"}));
  EXPECT_EQ(options_.OutputDir, root);
  EXPECT_EQ(options_.DbfSwitch, "/dbf4");
  EXPECT_EQ(options_.NameSwitch, "/name=3");
  ASSERT_TRUE(Parse("\"" + book_ + "\" \"\" /dbf4"));
  EXPECT_EQ(options_.OutputDir, root);
  EXPECT_EQ(options_.DbfSwitch, "/dbf4");
}

// A pattern is never expanded: one that names no entry is not taken. On
// POSIX systems '?', '*' and '"' are characters of real names: an input that
// exists as typed is taken (Windows names cannot hold them).
TEST_F(ParseCommandLineTest, InputsWithWildcardAndQuoteCharactersThatExistAreTaken) {
  const std::string pattern = folder_ + "/*.xls";  // Book.xls matches, but no entry is named so
  const char* pattern_argv[] = {"dravbatch", pattern.c_str(), "/tmp/out"};
  EXPECT_FALSE(ParseArguments(3, pattern_argv, tokens_, options_));
  EXPECT_NE(options_.RejectReason.find(pattern), std::string::npos);

  if (kPathSeparator == '\\') GTEST_SKIP() << "no such names on Windows";
  const std::string named[] = {"what?.xls", "A*.xls", "say \"hi\".xls", "dir*?/"};
  for (const std::string& name : named) {
    const std::string path = name.back() == '/' ? (tree_.path() / name).string()
                                                : tree_.WriteFile(name);
    if (name.back() == '/') std::filesystem::create_directories(path);
    const char* argv[] = {"dravbatch", path.c_str(), "/tmp/out"};
    EXPECT_TRUE(ParseArguments(3, argv, tokens_, options_)) << name;
    EXPECT_EQ(options_.InputPath, path);
  }
}

}  // namespace
}  // namespace dravella::core
