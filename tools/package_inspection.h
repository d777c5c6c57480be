// What `tracciato inspect` tells of a self-installing package: the scenario's
// names, each document's name, size and line count, the install program's
// platform and whether the payload is whole; and the documents written back
// out, so an author can recover the sources of a package.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tracciato {

// True when the file begins as a program does (ELF or MZ): it is then read as
// a package, never as a scenario file.
bool looks_like_program(const std::filesystem::path& file);

// Prints the package's report; with `extract_dir`, writes its five documents
// there too. Returns the exit status: 0, or 3 when the package is damaged.
// Throws IoError when it cannot be read.
int inspect_package(const std::filesystem::path& file, bool json,
                    const std::optional<std::string>& extract_dir);

}  // namespace tracciato
