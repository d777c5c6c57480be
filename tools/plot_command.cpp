#include "tools/plot_command.h"

#include <CLI/CLI.hpp>

#include "platform/file_replace.h"
#include "tools/compile_report.h"
#include "tools/console_output.h"
#include "tools/route_plot_build.h"
#include "tools/scenario_names.h"

namespace tracciato {

CLI::App* add_plot_command(CLI::App& app, PlotArguments& args) {
  CLI::App* command = app.add_subcommand(
      "plot", "Draw the route of a line and a train description as one SVG file");
  command->add_option("LINE", args.line_file, "The line description (<line>_linea.txt)")
      ->required();
  command->add_option("TRAIN", args.train_file, "The train description (<line>_<train>-.txt)")
      ->required();
  command->add_option("--out", args.out_file, "The SVG file to write, replaced when it exists")
      ->required();
  return command;
}

int run_plot_command(const PlotArguments& args) {
  try {
    const AuthorDescriptions descriptions =
        read_author_descriptions(args.line_file, args.train_file);
    const std::string line_name =
        line_name_from_file(args.line_file)
            .value_or(std::filesystem::path(args.line_file).stem().string());
    const std::string train_number =
        train_number_from_file(args.train_file, line_name)
            .value_or(std::filesystem::path(args.train_file).stem().string());
    const RoutePlotResult result = plot_author_scenario(descriptions, line_name, train_number);
    print_err(compile_messages(descriptions, result.compile));
    if (!result.svg) return compile_exit_status(result.compile);
    refuse_to_replace_descriptions(descriptions, args.out_file);
    replace_file(args.out_file, *result.svg);
    print_out(args.out_file + "\n");
    return finish_output(kExitCompiled);
  } catch (const IoError& e) {
    print_err("tracciato plot: " + std::string(e.what()) + "\n");
    return kExitUsage;
  }
}

}  // namespace tracciato
