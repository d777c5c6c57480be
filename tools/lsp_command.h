// `tracciato lsp`: the language server for the author's editor, on standard
// input and output. It answers from the same analysis as compile and lint.
#pragma once

namespace CLI {
class App;
}

namespace tracciato {

// Declares the subcommand on `app`.
CLI::App* add_lsp_command(CLI::App& app);

// Serves until the editor says "exit": 0 after "shutdown", 1 otherwise.
int run_lsp_command();

}  // namespace tracciato
