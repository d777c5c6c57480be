#include "tools/lsp_command.h"

#include <CLI/CLI.hpp>

#include "lsp/server.h"

namespace tracciato {

CLI::App* add_lsp_command(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "lsp",
      "Serve the Language Server Protocol on standard input and output, for an editor: "
      "diagnostics, hover, completion and quick fixes from the same analysis as compile and lint");
  // Editors' generic clients pass this; standard input and output are all
  // the server speaks.
  static bool stdio = true;
  command->add_flag("--stdio", stdio, "Speak on standard input and output (the only way)");
  return command;
}

int run_lsp_command() { return lsp::serve_standard_streams(TRACCIATO_VERSION); }

}  // namespace tracciato
