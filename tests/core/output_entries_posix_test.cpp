#include "core/output_entries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/core/temp_folder.h"

namespace dravella::core {
namespace {

namespace fs = std::filesystem;

TEST(FileSystemTest, EntryExistsSeesEveryKindOfEntry) {
  testing::TempFolder tree;
  tree.WriteFile(".hidden.dbf");
  tree.WriteFile("Q?.dbf");
  tree.WriteFile("A*.dbf");
  fs::create_directory(tree / ".f7");
  fs::create_symlink(tree / "gone", tree / "dangling");
  for (const char* name : {".hidden.dbf", "Q?.dbf", "A*.dbf", ".f7", "dangling"}) {
    EXPECT_TRUE(EntryExists(tree / name)) << name;
  }
  EXPECT_FALSE(EntryExists(tree / "Q1.dbf"));  // no pattern matching
  EXPECT_FALSE(EntryExists(""));
  EXPECT_TRUE(IsExistingFolder(tree / ".f7"));
  EXPECT_TRUE(IsExistingFolder(tree / ".f7//"));
  EXPECT_FALSE(IsExistingFolder(tree / "Q?.dbf"));
}

// A folder that another run made between the test and the creation counts
// as made; a file in the way or a missing parent does not, and says why.
TEST(FileSystemTest, CreateOneFolder) {
  testing::TempFolder tree;
  tree.WriteFile("file");
  fs::create_directory(tree / "made by another run");
  const struct {
    const char* name;
    bool created;
    const char* reason;
  } cases[] = {
      {"new", true, ""},
      {"made by another run", true, ""},
      {"file", false, "File exists"},
      {"missing/child", false, "No such file or directory"},
  };
  for (const auto& c : cases) {
    std::string reason;
    EXPECT_EQ(CreateOneFolder(tree / c.name, &reason), c.created) << c.name;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.name << ": " << reason;
    EXPECT_EQ(IsExistingFolder(tree / c.name), c.created) << c.name;
  }
}

}  // namespace
}  // namespace dravella::core
