// Writing a package file: an install stub, then a scenario's payload, with
// the executable bit set so the package runs as it is.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "driver/install_scenario.h"

namespace tracciato {

// Why `stub` cannot be the install stub for `platform` ("Linux" or
// "Windows"), or nullopt when it can: a Linux stub is a 64-bit x86 ELF
// program, a Windows one a 64-bit x86 PE program, and neither is a package
// already.
std::optional<std::string> stub_problem(std::string_view stub, std::string_view platform);

// Replaces `output` (whole, never half written) by the stub's bytes followed
// by the scenario's payload. Throws IoError.
void write_package_of_stub(std::string_view stub, const InstallScenario& scenario,
                           const std::filesystem::path& output);

// The same with the stub read from its file.
void write_package(const std::filesystem::path& stub, const InstallScenario& scenario,
                   const std::filesystem::path& output);

}  // namespace tracciato
