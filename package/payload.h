// The payload of a self-installing package: the scenario appended to a
// generic install program, closed by a fixed trailer at the very end of the
// file. The byte layout is described in docs/file_formats.md ("Package
// payload").
//
// The install program finds its scenario by reading the trailer from the end
// of its own file. The trailer gives the file's length, checked first, and a
// checksum of every byte before it, the program's own code included: a
// download cut short or a byte changed anywhere is a damaged package, and
// nothing of it is used.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "driver/install_scenario.h"

namespace tracciato {

inline constexpr std::string_view kPayloadMagic = "TRACPACK";
inline constexpr uint32_t kPayloadVersion = 2;
inline constexpr size_t kTrailerSize = 32;

// No package is larger: an install program and the largest documents.
inline constexpr uint64_t kLargestPackage = uint64_t{1} << 30;

// Why a package cannot be installed.
struct PackageDamage {
  std::string reason;  // "the payload's checksum does not match", ...
};

// What a package file holds.
struct PackageContents {
  InstallScenario scenario;
  uint64_t stub_size = 0;  // bytes of the install program before the payload
  std::string stub_start;  // its first bytes (at most 4), which tell its platform
};

// The payload and its trailer for `scenario`, to be appended to `stub`: the
// trailer's checksum covers the stub too.
// REQUIRES: each name passes portable_name_problem.
std::string encode_payload(std::string_view stub, const InstallScenario& scenario);

// Reads the package file at `path`: the trailer, its length against the
// file's, then every byte once for the checksum, keeping only the payload.
// Throws IoError when the file cannot be read at all.
std::variant<PackageContents, PackageDamage> read_package(const std::filesystem::path& path);

// The same on a package held in memory.
std::variant<PackageContents, PackageDamage> decode_package(std::string_view file);

// "Linux", "Windows" or "unknown", from the stub's first bytes.
std::string_view stub_platform(std::string_view stub_start);

}  // namespace tracciato
