// The payload of a self-installing package: the scenario appended to a
// generic install program, closed by a fixed trailer at the very end of the
// file. The byte layout is described in docs/file_formats.md ("Package
// payload").
//
// The install program finds its scenario by reading the trailer from the end
// of its own file, then the payload just before it; it never reads the
// program's code. A payload whose trailer is missing, of another version, or
// whose checksum does not match is a damaged package: nothing of it is used.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "driver/install_scenario.h"

namespace tracciato {

inline constexpr std::string_view kPayloadMagic = "TRACPACK";
inline constexpr uint32_t kPayloadVersion = 1;
inline constexpr size_t kTrailerSize = 24;

// Why a package cannot be installed.
struct PackageDamage {
  std::string reason;  // "the payload's checksum does not match", ...
};

// What a package file holds.
struct PackageContents {
  InstallScenario scenario;
  uint64_t stub_size = 0;    // bytes of the install program before the payload
  std::string stub_start;    // its first bytes (at most 4), which tell its platform
};

// The payload and its trailer for `scenario`, to be appended to a stub.
// REQUIRES: each name passes portable_name_problem.
std::string encode_payload(const InstallScenario& scenario);

// Reads the payload of the package file at `path` (the trailer, then the
// payload; the stub's first bytes only). Throws IoError when the file cannot
// be read at all.
std::variant<PackageContents, PackageDamage> read_package(const std::filesystem::path& path);

// The same on a package held in memory.
std::variant<PackageContents, PackageDamage> decode_package(std::string_view file);

// "Linux", "Windows" or "unknown", from the stub's first bytes.
std::string_view stub_platform(std::string_view stub_start);

}  // namespace tracciato
