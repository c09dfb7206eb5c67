#include "core/path_kind.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>

#include "tests/core/temp_folder.h"

namespace dravella::core {
namespace {

namespace fs = std::filesystem;

class PathKindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree_.WriteFile("data/book.xls");
    tree_.WriteFile("data/b1.xls");
    tree_.WriteFile("data/.hidden.xls");
    tree_.WriteFile(".secret/inner.xls");
    tree_.WriteFile("data/what?.xls");
    tree_.WriteFile("data/A*\".xls");
    fs::create_symlink(tree_ / "data/book.xls", tree_ / "link-to-file");
    fs::create_symlink(tree_ / "data", tree_ / "link-to-folder");
    fs::create_symlink(tree_ / "gone.xls", tree_ / "dangling");
    ASSERT_EQ(mkfifo((tree_ / "pipe").c_str(), 0600), 0);
  }
  testing::TempFolder tree_;
};

TEST_F(PathKindTest, ClassifiesEachKindOfEntry) {
  struct Case {
    std::string relative;
    int expected;
  };
  const Case cases[] = {
      {"data", kPathFolder},
      {"data/", kPathFolder},         // one trailing separator is allowed
      {"data//", kPathMissing},       // but not two
      {"data/book.xls", kPathFile},
      {"data/book.xls/", kPathMissing},  // a file path with a trailing separator
      {"data/missing.xls", kPathMissing},
      {"data/*.xls", kPathMissing},   // wildcards never match, even when files would
      {"data/b?.xls", kPathMissing},
      {"data/what?.xls", kPathFile},  // but names that hold them are real names here
      {"data/A*\".xls", kPathFile},
      {"data/.hidden.xls", kPathMissing},
      {".secret", kPathMissing},      // a hidden folder
      {".secret/", kPathMissing},
      {".secret/inner.xls", kPathFile},  // only the last name decides
      {"data/.", kPathFolder},        // "." and ".." are not hidden entries
      {"data/..", kPathFolder},
      {"link-to-file", kPathFile},    // links are followed
      {"link-to-folder", kPathFolder},
      {"dangling", kPathMissing},
      {"pipe", kPathMissing},         // a FIFO is neither, and must not block
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PathKind(tree_ / c.relative), c.expected) << c.relative;
  }
}

TEST_F(PathKindTest, UnusablePathsGiveZero) {
  EXPECT_EQ(PathKind(""), kPathMissing);
  EXPECT_EQ(PathKind(std::string("data\0x", 6)), kPathMissing);
  EXPECT_EQ(PathKind(std::string(5000, 'a')), kPathMissing);  // longer than any name
  EXPECT_EQ(PathKind("/dev/null"), kPathMissing);             // a device
  EXPECT_EQ(PathKind("/"), kPathFolder);
}

TEST_F(PathKindTest, SocketIsNotAFile) {
  const std::string path = tree_ / "sock";
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof(address.sun_path));
  path.copy(address.sun_path, path.size());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  EXPECT_EQ(PathKind(path), kPathMissing);
  close(fd);
}

}  // namespace
}  // namespace dravella::core
