// `tracciato decompile DIR|CELL ITEM [TRACK]|PACKAGE --out DIR`: the line and
// train descriptions that compile back to a scenario's files, byte for byte,
// written only once a compile in memory has given every byte; or, for a
// self-installing package, the descriptions and documents it carries, once
// its own compile has been read back so.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tracciato {

struct DecompileArguments {
  std::vector<std::string> sources;
  std::string out_dir = ".";
  bool force = false;
  bool json = false;
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_decompile_command(CLI::App& app, DecompileArguments& args);

// Runs the parsed command; returns the exit status (tools/exit_status.h): 0
// when the descriptions are written, 1 when some bytes are refused (nothing
// written), 2 for usage errors and files that would be replaced unasked, 3
// when a file or package is damaged, 4 when a file cannot be read or written.
int run_decompile_command(const DecompileArguments& args);

}  // namespace tracciato
