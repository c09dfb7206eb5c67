// A fresh folder below the system's temporary folder, removed with its
// contents when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace dravella::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("dravella-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  // Writes a small file and returns its path.
  std::string WriteFile(const std::string& name, const std::string& content = "x") const {
    const auto file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace dravella::testing
