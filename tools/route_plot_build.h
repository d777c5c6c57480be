// An author's plot: the two descriptions compiled in memory, exactly as the
// compile does, and drawn when the compile went through.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tools/author_compile.h"

namespace tracciato {

struct RoutePlotResult {
  AuthorCompileResult compile;
  std::optional<std::string> svg;  // none after a compile problem or stop
};

RoutePlotResult plot_author_scenario(const AuthorDescriptions& descriptions,
                                     const std::string& line_name, const std::string& train_number);

// Throws IoError when `out` is one of the descriptions, which writing the
// drawing would destroy.
void refuse_to_replace_descriptions(const AuthorDescriptions& descriptions,
                                    const std::filesystem::path& out);

}  // namespace tracciato
