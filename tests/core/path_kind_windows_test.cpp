// Path kinds as Windows paths write them: drive letters, backslashes, the
// hidden and system attributes, names in any letter case and names outside
// the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/path_kind.h"
#include "engine/platform/file_system.h"
#include "tests/core/temp_folder.h"

namespace dravella::core {
namespace {

namespace fs = std::filesystem;

class PathKindWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = platform::PathText(tree_.path());
    ASSERT_GE(root_.size(), 3u);
    ASSERT_EQ(root_.substr(1, 2), ":\\") << root_;  // a drive-letter path
    for (const char* name : {"data\\book.xls", "data\\hidden.xls", "data\\system.xls",
                             "secret\\inner.xls",
                             "Données\\Отчёт 2024.xls", "Données\\売上.xls"}) {
      Write(name);
    }
    SetAttributes("data\\hidden.xls", FILE_ATTRIBUTE_HIDDEN);
    SetAttributes("data\\system.xls", FILE_ATTRIBUTE_SYSTEM);
    SetAttributes("secret", FILE_ATTRIBUTE_HIDDEN);
  }

  std::string At(const std::string& relative) const { return root_ + "\\" + relative; }

  void Write(const std::string& relative) const {
    const fs::path file = platform::NativePath(At(relative));
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << "x";
  }

  void SetAttributes(const std::string& relative, DWORD attributes) const {
    ASSERT_TRUE(SetFileAttributesW(platform::NativePath(At(relative)).c_str(), attributes));
  }

  testing::TempFolder tree_;
  std::string root_;
};

TEST_F(PathKindWindowsTest, ClassifiesWindowsPaths) {
  struct Case {
    std::string relative;
    int expected;
  };
  const Case cases[] = {
      {"data", kPathFolder},
      {"data\\", kPathFolder},             // one trailing backslash is allowed
      {"data/", kPathFolder},              // and so is a slash
      {"data\\\\", kPathMissing},          // but not two
      {"data\\book.xls", kPathFile},
      {"data/book.xls", kPathFile},        // either separator
      {"data\\book.xls\\", kPathMissing},  // a file path with a trailing separator
      {"DATA\\BOOK.XLS", kPathFile},       // names compare without regard to case
      {"Data\\Book.Xls", kPathFile},
      {"data\\*.xls", kPathMissing},
      {"data\\b??k.xls", kPathMissing},
      {"data\\hidden.xls", kPathMissing},  // the hidden attribute
      {"data\\system.xls", kPathMissing},  // the system attribute
      {"secret", kPathMissing},            // a hidden folder
      {"secret\\", kPathMissing},
      {"secret\\inner.xls", kPathFile},    // only the last name decides
      {"Données", kPathFolder},
      {"Données\\Отчёт 2024.xls", kPathFile},
      {"DONNÉES\\ОТЧЁТ 2024.XLS", kPathFile},
      {"Données\\売上.xls", kPathFile},
      {"Données\\missing.xls", kPathMissing},
      {"data\\a<b.xls", kPathMissing},     // not a valid name
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PathKind(At(c.relative)), c.expected) << c.relative;
  }
}

TEST_F(PathKindWindowsTest, DriveRootsAndDriveRelativePaths) {
  const std::string drive = root_.substr(0, 2);  // "C:"
  EXPECT_EQ(PathKind(drive + "\\"), kPathFolder);
  EXPECT_EQ(PathKind(drive + "/"), kPathFolder);
  EXPECT_EQ(PathKind("\\"), kPathFolder);  // the root of the current drive
  // The same folder with the drive letter in the other case.
  const char other = static_cast<char>(std::islower(static_cast<unsigned char>(drive[0]))
                                           ? std::toupper(static_cast<unsigned char>(drive[0]))
                                           : std::tolower(static_cast<unsigned char>(drive[0])));
  EXPECT_EQ(PathKind(std::string(1, other) + root_.substr(1) + "\\data\\book.xls"), kPathFile);
}

TEST_F(PathKindWindowsTest, UncPathToAMissingShareGivesZero) {
  EXPECT_EQ(PathKind("\\\\nowhere.invalid\\share\\book.xls"), kPathMissing);
}

}  // namespace
}  // namespace dravella::core
