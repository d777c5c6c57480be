// The floor a scenario run is measured against: the same files written by a
// plain copy, each read whole and written once into a new file, with none of
// the compile and none of the safe replacement.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace tracciato::bench {

// Writes each of `files` (name -> bytes) into `source` once, so a copy has
// something of the same sizes to read.
void lay_out_sources(const std::filesystem::path& source,
                     const std::map<std::string, std::string>& files);

// Copies every file of `source` into `target` by read and write, creating
// `target` when missing. Returns the bytes copied. Throws IoError.
int64_t plain_copy(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace tracciato::bench
