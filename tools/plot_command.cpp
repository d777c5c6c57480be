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
namespace {

// The names the drawing is titled with, in Windows-1252 as the model holds
// them: the file names' or, failing those, the files' stems.
std::string plot_name(const std::optional<std::string>& from_name, const std::string& file) {
  std::string name = from_name.value_or(utf8_of(path_from_utf8(file).stem()));
  if (code_page_problem(name)) return "?";
  return windows1252_name(name);
}

}  // namespace

CLI::App* add_plot_command(CLI::App& app, PlotArguments& args) {
  CLI::App* command = app.add_subcommand(
      "plot", "Draw the route of a line and a train description as one SVG file");
  command->add_option("LINE", args.line_file, "The line description (<line>_linea.txt)")
      ->required();
  command->add_option("TRAIN", args.train_file, "The train description (<line>_<train>-.txt)")
      ->required();
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
    const std::optional<std::string> line_from_file =
        line_name_from_file(path_from_utf8(args.line_file));
    const std::string line_utf8 =
        line_from_file.value_or(utf8_of(path_from_utf8(args.line_file).stem()));
    const std::string line_name = plot_name(line_from_file, args.line_file);
    const std::string train_number = plot_name(
        train_number_from_file(path_from_utf8(args.train_file), line_utf8), args.train_file);
    const std::vector<Diagnostic> warnings =
        description_warnings(descriptions, args.encoding != kUtf8Encoding);
    const RoutePlotResult result = plot_author_scenario(descriptions, line_name, train_number);
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
