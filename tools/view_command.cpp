#include "tools/view_command.h"

#include <CLI/CLI.hpp>

#include "driver/failure_message.h"
#include "platform/file_replace.h"
#include "platform/utf8_path.h"
#include "tools/author_findings.h"
#include "tools/console_output.h"
#include "tools/description_encoding.h"
#include "tools/encoding_option.h"
#include "tools/live_view.h"
#include "tools/route_view_build.h"

namespace tracciato {

CLI::App* add_view_command(CLI::App& app, ViewArguments& args) {
  CLI::App* command = app.add_subcommand(
      "view", "Draw the route as an interactive page, or serve it and draw it again at each save");
  add_description_arguments(*command, args.line_file, args.train_file);
  CLI::Option* out = command->add_option("--out", args.out_file,
                                         "The HTML file to write, replaced when it exists");
  CLI::Option* serve = command->add_flag(
      "--serve", args.serve,
      "Serve the page on 127.0.0.1 and draw it again whenever a description is saved");
  command->add_option("--port", args.port, "The port to serve on (default: any free port)")
      ->check(CLI::Range(0, 65535))
      ->needs(serve);
  out->excludes(serve);
  command->callback([out, serve] {
    if (out->count() == 0 && serve->count() == 0) throw CLI::RequiredError("--out or --serve");
  });
  add_encoding_option(*command, args.encoding);
  return command;
}

int run_view_command(const ViewArguments& args) {
  if (args.serve) return run_live_view(args);
  try {
    AuthorDescriptions descriptions =
        read_author_descriptions(path_from_utf8(args.line_file), path_from_utf8(args.train_file));
    if (const auto problem = convert_descriptions(descriptions, args.encoding)) {
      print_err(*problem);
      return kExitProblems;
    }
    const std::vector<Diagnostic> warnings =
        description_warnings(descriptions, args.encoding != kUtf8Encoding);
    const DrawingCompile drawing =
        compile_for_drawing(descriptions, drawing_names(args.line_file, args.train_file), true);
    print_findings(descriptions, warnings, drawing.compile);
    const RoutePage page =
        route_view_page(view_drawing(descriptions, drawing),
                        view_problems(descriptions, warnings, drawing), drawing.clean());
    const std::filesystem::path out = path_from_utf8(args.out_file);
    refuse_to_replace_descriptions(descriptions, out);
    replace_file(out, render_route_page(page));
    print_out(args.out_file + "\n");
    return finish_output(findings_status(warnings, drawing.compile, false));
  } catch (const IoError& e) {
    print_err("tracciato view: " + file_failure_message(e, "run tracciato view again") + "\n");
    return kExitIo;
  }
}

}  // namespace tracciato
