// Writing a package file: an install stub, then a scenario's payload, with
// the executable bit set so the package runs as it is.
#pragma once

#include <filesystem>

#include "driver/install_scenario.h"

namespace tracciato {

// Replaces `output` (whole, never half written) by the stub's bytes followed
// by the scenario's payload. Throws IoError.
void write_package(const std::filesystem::path& stub, const InstallScenario& scenario,
                   const std::filesystem::path& output);

}  // namespace tracciato
