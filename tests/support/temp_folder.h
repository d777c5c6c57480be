// A fresh, empty folder for one test, removed with everything in it when the
// test ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "platform/file_replace.h"

namespace tracciato::test_support {

class TempFolder {
 public:
  TempFolder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("tracciato-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // Every regular file of the folder with its bytes.
  std::map<std::string, std::string> files() const {
    std::map<std::string, std::string> result;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      if (entry.is_regular_file())
        result[entry.path().filename().string()] = read_file(entry.path());
    }
    return result;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tracciato::test_support
