// `tracciato lint LINE TRAIN`: tells the author about records the compiler
// accepts but that are probably mistakes, then whether the compile goes
// through. Writes no file.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace tracciato {

struct LintArguments {
  std::string line_file;
  std::string train_file;
  bool json = false;
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_lint_command(CLI::App& app, LintArguments& args);

// Runs the parsed command; returns the exit status: 0 with nothing to say, 1
// with warnings only, 2 with a compile problem or a file that cannot be read.
int run_lint_command(const LintArguments& args);

}  // namespace tracciato
