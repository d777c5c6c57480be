#include "tools/route_plot_build.h"

#include <memory>
#include <system_error>

#include "authoring/route_svg.h"
#include "compiler/description_source.h"
#include "driver/compile_driver.h"
#include "platform/file_replace.h"

namespace tracciato {

RoutePlotResult plot_author_scenario(const AuthorDescriptions& descriptions,
                                     const std::string& line_name,
                                     const std::string& train_number) {
  // The model of a long line is large; keep it off the stack.
  auto model = std::make_unique<ScenarioModel>();
  model->line_name = line_name;
  model->train_number = train_number;
  DescriptionTexts source(descriptions.line_text, descriptions.train_text);
  RoutePlotResult result;
  result.compile = compile_outcome(compile_scenario(*model, 1, source), *model);
  // A model the compile gave up on would be drawn as if it were the route.
  if (result.compile.stop == CompileStop::kNone && result.compile.error_code == 0) {
    result.svg = render_route_svg(route_plot(*model));
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
