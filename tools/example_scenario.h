// The embedded scenario as a starting point for an author: its line and train
// descriptions under their usual names, with the three driver documents.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tracciato {

// The names of the five files, in the order they are written.
std::vector<std::string> example_file_names();

// Those of the five files that already exist in `folder`.
std::vector<std::filesystem::path> example_files_present(const std::filesystem::path& folder);

// Writes the five files into `folder`, creating it when missing, each
// replacing any earlier file whole. Returns the names written. Throws IoError.
std::vector<std::string> write_example_scenario(const std::filesystem::path& folder);

}  // namespace tracciato
