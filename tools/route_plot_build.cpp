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
  MemoryDescriptions source(descriptions.line_text, descriptions.train_text);
  RoutePlotResult result;
  result.compile.stop = compile_scenario(*model, 1, source);
  result.compile.error_code = model->error_code;
  result.compile.error_position = model->error_position;
  result.compile.error_site = model->error_site;
  result.compile.code_site = model->code_site;
  result.compile.error_detail = model->error_detail;
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
