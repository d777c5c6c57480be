// A fresh, empty folder for one test, removed with everything in it when the
// test ends. Files are put in and read back directly, not through the file
// layer under test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tracciato {

class ScratchFolder {
 public:
  ScratchFolder() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    // Several build folders may run the same test at once: add a random part.
    path_ = std::filesystem::temp_directory_path() /
            ("tracciato-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
             std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path_);
  }

  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }

  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  void put(std::string_view name, std::string_view bytes) const {
    std::ofstream(path_ / name, std::ios::binary).write(bytes.data(), std::ssize(bytes));
  }

  std::string get(std::string_view name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // The names of everything in the folder, sorted.
  std::vector<std::string> names() const {
    std::vector<std::string> result;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      result.push_back(entry.path().filename().string());
    }
    std::sort(result.begin(), result.end());
    return result;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tracciato
