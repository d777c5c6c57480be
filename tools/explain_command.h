// `tracciato explain CODE`: the long form of a compile problem code — what
// it means, its common causes, a wrong and a right description line, and
// what to do.
#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace tracciato {

struct ExplainArguments {
  std::optional<std::string> code;  // none: list every code
};

// Declares the subcommand and its argument on `app`; parsing fills `args`.
CLI::App* add_explain_command(CLI::App& app, ExplainArguments& args);

// Runs the parsed command; returns the exit status: 0, or 2 for a code the
// compiler never records.
int run_explain_command(const ExplainArguments& args);

// "1 to 13, 15 to 22, 24 to 29, 101 to 104": the codes there are, in runs.
std::string known_codes();

}  // namespace tracciato
