// `tracciato help [COMMAND]`: prints exactly what `tracciato COMMAND --help`
// (or `tracciato --help`) prints, by reading the command line as that one.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tracciato {

// Declares `help` on `app`, so the list of commands shows it.
void add_help_command(CLI::App& app);

struct HelpRewrite {
  std::vector<std::string> arguments;      // to parse instead of the given ones
  std::optional<std::string> usage_error;  // set when COMMAND names no command
};

// The arguments to parse for `arguments` (argv[0] first): unchanged unless
// they ask for `help`; then those of the --help they stand for, or a usage
// error naming the commands.
HelpRewrite rewrite_help(const CLI::App& app, const std::vector<std::string>& arguments);

}  // namespace tracciato
