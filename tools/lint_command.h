// `tracciato lint LINE TRAIN`: tells the author about every record the
// compiler accepts but that is probably a mistake, through the whole text,
// then whether the compile goes through. Writes no file.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace tracciato {

struct LintArguments {
  std::string line_file;
  std::string train_file;
  bool strict = false;
  std::string encoding = "windows-1252";
  bool json = false;
  bool fix = false;
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_lint_command(CLI::App& app, LintArguments& args);

// Runs the parsed command; returns the exit status (tools/exit_status.h): 0
// with warnings at most, 1 with a compile problem (or a warning under
// --strict), 4 with a file that cannot be read.
int run_lint_command(const LintArguments& args);

}  // namespace tracciato
