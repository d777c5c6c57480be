#include "bench/bench_folder.h"

#include <random>

#include "platform/file_replace.h"

namespace tracciato::bench {

BenchFolder::BenchFolder() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() /
          ("tracciato-bench-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

BenchFolder::~BenchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::map<std::string, std::string> files_in(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = read_file(entry.path());
  }
  return files;
}

}  // namespace tracciato::bench
