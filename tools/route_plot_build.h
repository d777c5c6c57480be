// An author's drawing of the route: the two descriptions compiled in memory,
// exactly as the compile does, for the plot's SVG and the route view's page.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "authoring/record_log.h"
#include "compiler/scenario_model.h"
#include "tools/author_compile.h"

namespace tracciato {

// The names a drawing is titled with, in Windows-1252 as the model holds
// them: those the file names carry or, failing that, the files' stems ("?"
// for a name the code page cannot hold).
struct DrawingNames {
  std::string line_name;
  std::string train_number;
};
DrawingNames drawing_names(const std::string& line_file, const std::string& train_file);

// A compile kept for drawing: its outcome, the model it left and, when asked
// for, the records it read.
struct DrawingCompile {
  AuthorCompileResult compile;
  std::unique_ptr<ScenarioModel> model;
  std::unique_ptr<RecordLog> records;  // null unless asked for

  // The compile went through: the model is the route the files would carry.
  bool clean() const { return compile.stop == CompileStop::kNone && compile.error_code == 0; }
};

DrawingCompile compile_for_drawing(const AuthorDescriptions& descriptions,
                                   const DrawingNames& names, bool keep_records);

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
