#include "tools/unknown_command.h"

#include <CLI/CLI.hpp>
#include <vector>

#include "tools/nearest_name.h"

namespace tracciato {

std::optional<std::string> unknown_command_message(const CLI::App& app, int argc,
                                                   const char* const* argv) {
  if (argc < 2 || argv[1][0] == '-') return std::nullopt;
  const std::string word = argv[1];
  std::vector<std::string> commands;
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
    if (command->get_name() == word) return std::nullopt;
    commands.push_back(command->get_name());
  }
  std::string message = "tracciato: '" + word + "' is not a command";
  if (const auto nearest = nearest_name(word, commands)) {
    message += "; did you mean '" + *nearest + "'?";
  }
  return message + "\n";
}

}  // namespace tracciato
