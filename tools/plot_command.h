// `tracciato plot LINE TRAIN --out FILE.svg`: compiles the descriptions in
// memory and draws the route as one SVG file.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace tracciato {

struct PlotArguments {
  std::string line_file;
  std::string train_file;
  std::string out_file;
  std::string encoding = "windows-1252";
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_plot_command(CLI::App& app, PlotArguments& args);

// Runs the parsed command; returns the exit status (tools/exit_status.h): 0
// when the drawing was written, 1 when the compile recorded a problem or
// stopped (nothing written), 4 when a file cannot be read or written.
int run_plot_command(const PlotArguments& args);

}  // namespace tracciato
