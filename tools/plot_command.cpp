#include "tools/plot_command.h"

#include <CLI/CLI.hpp>

#include "driver/failure_message.h"
#include "platform/file_replace.h"
#include "platform/utf8_path.h"
#include "tools/author_findings.h"
#include "tools/console_output.h"
#include "tools/description_encoding.h"
#include "tools/encoding_option.h"
#include "tools/route_plot_build.h"
#include "tools/scenario_names.h"
#include "tools/terminal_colour.h"

namespace tracciato {

CLI::App* add_plot_command(CLI::App& app, PlotArguments& args) {
  CLI::App* command = app.add_subcommand(
      "plot", "Draw the route of a line and a train description as one SVG file");
  add_description_arguments(*command, args.line_file, args.train_file);
  command->add_option("--out", args.out_file, "The SVG file to write, replaced when it exists")
      ->required();
  add_encoding_option(*command, args.encoding);
  return command;
}

int run_plot_command(const PlotArguments& args) {
  try {
    AuthorDescriptions descriptions =
        read_author_descriptions(path_from_utf8(args.line_file), path_from_utf8(args.train_file));
    if (const auto problem = convert_descriptions(descriptions, args.encoding)) {
      print_err(*problem);
      return kExitProblems;
    }
    const DrawingNames names = drawing_names(args.line_file, args.train_file);
    const std::vector<Diagnostic> warnings =
        description_warnings(descriptions, args.encoding != kUtf8Encoding);
    const RoutePlotResult result =
        plot_author_scenario(descriptions, names.line_name, names.train_number);
    print_findings(descriptions, warnings, result.compile);
    if (!result.svg) return findings_status(warnings, result.compile, false);
    const std::filesystem::path out = path_from_utf8(args.out_file);
    refuse_to_replace_descriptions(descriptions, out);
    replace_file(out, *result.svg);
    print_out(args.out_file + "\n");
    return finish_output(kExitSuccess);
  } catch (const IoError& e) {
    print_err("tracciato plot: " + file_failure_message(e, "run tracciato plot again") + "\n");
    return kExitIo;
  }
}

}  // namespace tracciato
