// `tracciato example`: writes the embedded scenario's descriptions and driver
// documents, so an author can start from a scenario that compiles.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace tracciato {

struct ExampleArguments {
  std::string out_dir = ".";
  bool force = false;
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_example_command(CLI::App& app, ExampleArguments& args);

// Runs the parsed command; returns the exit status (tools/exit_status.h):
// 0, 2 when a file would be replaced unasked, 4 when a file cannot be
// written.
int run_example_command(const ExampleArguments& args);

}  // namespace tracciato
