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

// Everything under `folder`: each file's bytes and each folder ("NAME/"), by
// path relative to it.
inline std::map<std::string, std::string> folder_tree(const std::filesystem::path& folder) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).generic_string();
    if (entry.is_directory()) {
      tree[name + "/"] = "";
    } else {
      tree[name] = read_file(entry.path());
    }
  }
  return tree;
}

}  // namespace tracciato::test_support
