// `tracciato inspect FILE`: shows what a cell, item or track file holds, as a
// table or as JSON.
#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace tracciato {

struct InspectArguments {
  std::string file;
  bool json = false;
  std::optional<std::string> cells;  // "A..B"
  bool nonzero = false;
  bool records = false;
  std::optional<std::string> kind;     // cell, item or track
  std::optional<std::string> extract;  // a package's documents go here
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_inspect_command(CLI::App& app, InspectArguments& args);

// Runs the parsed command; returns the exit status (tools/exit_status.h): 0,
// 3 when the file does not fit its format or a package is damaged, 4 when a
// file cannot be read or written.
int run_inspect_command(const InspectArguments& args);

}  // namespace tracciato
