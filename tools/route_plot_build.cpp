#include "tools/route_plot_build.h"

#include <system_error>

#include "authoring/route_svg.h"
#include "compiler/description_source.h"
#include "driver/compile_driver.h"
#include "platform/file_replace.h"
#include "platform/utf8_path.h"
#include "tools/scenario_names.h"

namespace tracciato {
namespace {

std::string drawing_name(const std::optional<std::string>& from_name, const std::string& file) {
  std::string name = from_name.value_or(utf8_of(path_from_utf8(file).stem()));
  if (code_page_problem(name)) return "?";
  return windows1252_name(name);
}

}  // namespace

DrawingNames drawing_names(const std::string& line_file, const std::string& train_file) {
  const std::optional<std::string> line_from_file = line_name_from_file(path_from_utf8(line_file));
  const std::string line_utf8 = line_from_file.value_or(utf8_of(path_from_utf8(line_file).stem()));
  return {drawing_name(line_from_file, line_file),
          drawing_name(train_number_from_file(path_from_utf8(train_file), line_utf8), train_file)};
}

DrawingCompile compile_for_drawing(const AuthorDescriptions& descriptions,
                                   const DrawingNames& names, bool keep_records) {
  DrawingCompile drawing;
  // The model of a long line is large; keep it off the stack.
  drawing.model = std::make_unique<ScenarioModel>();
  drawing.model->line_name = names.line_name;
  drawing.model->train_number = names.train_number;
  DescriptionTexts source(descriptions.line_text, descriptions.train_text);
  std::vector<ParseListener*> listeners;
  if (keep_records) {
    drawing.records = std::make_unique<RecordLog>(*drawing.model);
    listeners.push_back(drawing.records.get());
  }
  drawing.compile =
      compile_outcome(compile_scenario(*drawing.model, 1, source, listeners), *drawing.model);
  if (drawing.records) drawing.records->finish();
  return drawing;
}

RoutePlotResult plot_author_scenario(const AuthorDescriptions& descriptions,
                                     const std::string& line_name,
                                     const std::string& train_number) {
  DrawingCompile drawing = compile_for_drawing(descriptions, {line_name, train_number}, false);
  RoutePlotResult result;
  result.compile = std::move(drawing.compile);
  // A model the compile gave up on would be drawn as if it were the route.
  if (result.compile.stop == CompileStop::kNone && result.compile.error_code == 0) {
    result.svg = render_route_svg(route_plot(*drawing.model));
  }
  return result;
}

void refuse_to_replace_descriptions(const AuthorDescriptions& descriptions,
                                    const std::filesystem::path& out) {
  for (const auto* input : {&descriptions.line_file, &descriptions.train_file}) {
    std::error_code ec;
    if (std::filesystem::equivalent(out, *input, ec))
      throw IoError(out, "is a description being drawn; not replaced");
  }
}

}  // namespace tracciato
