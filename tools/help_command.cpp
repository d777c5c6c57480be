#include "tools/help_command.h"

#include <CLI/CLI.hpp>

#include "tools/nearest_name.h"

namespace tracciato {
namespace {

constexpr const char* kHelp = "help";

std::vector<std::string> command_names(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
    names.push_back(command->get_name());
  }
  return names;
}

}  // namespace

void add_help_command(CLI::App& app) {
  CLI::App* help = app.add_subcommand(kHelp, "Show the help of tracciato, or of one command");
  // Declared for the help text only: rewrite_help reads the word itself.
  help->add_option("COMMAND")->description("The command to show the help of");
}

HelpRewrite rewrite_help(const CLI::App& app, const std::vector<std::string>& arguments) {
  if (arguments.size() < 2 || arguments[1] != kHelp) return {arguments, std::nullopt};
  // `help --help` and the like are the help command's own options.
  if (arguments.size() > 2 && arguments[2].starts_with("-")) return {arguments, std::nullopt};
  if (arguments.size() == 2) return {{arguments[0], "--help"}, std::nullopt};
  const std::vector<std::string> names = command_names(app);
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  if (arguments.size() > 3) {
    return {{}, "tracciato help: give one command at most; the commands are " + list + "\n"};
  }
  for (const std::string& name : names) {
    if (name == arguments[2]) return {{arguments[0], name, "--help"}, std::nullopt};
  }
  std::string message = "tracciato help: '" + arguments[2] + "' is not a command; ";
  if (const auto nearest = nearest_name(arguments[2], names)) {
    message += "did you mean '" + *nearest + "'? ";
  }
  return {{}, message + "the commands are " + list + "\n"};
}

}  // namespace tracciato
