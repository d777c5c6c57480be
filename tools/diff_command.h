// `tracciato diff A B`: what changed between two scenarios, by meaning, per
// record and field; each side a folder of compiled files or of descriptions,
// or the files themselves. Status 0 when the files are the same byte for
// byte, 1 when they differ.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tracciato {

struct DiffArguments {
  std::vector<std::string> sides;
  bool json = false;
  std::string encoding = "windows-1252";
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_diff_command(CLI::App& app, DiffArguments& args);

// Runs the parsed command; returns the exit status (tools/exit_status.h): 0
// when the scenarios are the same, 1 when they differ, 2 for usage errors,
// 3 when a file does not fit its format, 4 when a file cannot be read.
int run_diff_command(const DiffArguments& args);

}  // namespace tracciato
