// A fresh folder below the system's temporary folder, removed with its
// contents when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

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
  // Names may use "/" between folders; the result has the platform's separators.
  std::string operator/(const std::string& name) const { return (path_ / Relative(name)).string(); }

  // Writes a small file and returns its path.
  std::string WriteFile(const std::string& name, const std::string& content = "x") const {
    const auto file = path_ / Relative(name);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file.string();
  }

 private:
  static std::filesystem::path Relative(const std::string& name) {
    return std::filesystem::path(name).make_preferred();
  }

  std::filesystem::path path_;
};

// The names of a folder in the order the file system lists them.
inline std::vector<std::string> ListingOrder(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

}  // namespace dravella::testing
