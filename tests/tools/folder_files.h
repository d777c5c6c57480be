// The regular files of a folder with their bytes, for whole-folder checks.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "platform/file_replace.h"

namespace tracciato::test_support {

inline std::map<std::string, std::string> files_in(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = read_file(entry.path());
  }
  return files;
}

}  // namespace tracciato::test_support
