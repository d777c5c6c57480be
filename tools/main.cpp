// tracciato, the scenario author's tool: compiles line and train descriptions
// with the install package's own compiler and tells the author what is wrong.
#include <CLI/CLI.hpp>
#include <exception>
#include <new>
#include <string>

#include "tools/command_arguments.h"
#include "tools/compile_command.h"
#include "tools/console_output.h"
#include "tools/decompile_command.h"
#include "tools/diff_command.h"
#include "tools/example_command.h"
#include "tools/exit_status.h"
#include "tools/explain_command.h"
#include "tools/help_command.h"
#include "tools/inspect_command.h"
#include "tools/lint_command.h"
#include "tools/lsp_command.h"
#include "tools/package_command.h"
#include "tools/plot_command.h"
#include "tools/unknown_command.h"
#include "tools/view_command.h"

int main(int argc, char** argv) {
  using namespace tracciato;
  CLI::App app{"Compiles railway scenario descriptions for the train-driving simulator.",
               "tracciato"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "tracciato " TRACCIATO_VERSION);

  CompileArguments compile_args;
  ExampleArguments example_args;
  CLI::App* compile = add_compile_command(app, compile_args);
  CLI::App* example = add_example_command(app, example_args);
  InspectArguments inspect_args;
  LintArguments lint_args;
  PlotArguments plot_args;
  CLI::App* inspect = add_inspect_command(app, inspect_args);
  CLI::App* lint = add_lint_command(app, lint_args);
  CLI::App* plot = add_plot_command(app, plot_args);
  PackageArguments package_args;
  CLI::App* package = add_package_command(app, package_args);
  ExplainArguments explain_args;
  CLI::App* explain = add_explain_command(app, explain_args);
  DecompileArguments decompile_args;
  CLI::App* decompile = add_decompile_command(app, decompile_args);
  DiffArguments diff_args;
  CLI::App* diff = add_diff_command(app, diff_args);
  ViewArguments view_args;
  CLI::App* view = add_view_command(app, view_args);
  CLI::App* lsp = add_lsp_command(app);
  add_help_command(app);
  // Every command's help ends with the statuses they all share.
  app.footer(std::string(kExitStatusHelp));
  for (CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
    command->footer(std::string(kExitStatusHelp));
  }

  use_utf8_console();
  const HelpRewrite rewrite = rewrite_help(app, utf8_arguments(argc, argv));
  if (rewrite.usage_error) {
    print_err(*rewrite.usage_error);
    return kExitUsage;
  }
  std::vector<std::string> arguments = rewrite.arguments;
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  const int count = static_cast<int>(arguments.size());

  try {
    app.parse(count, pointers.data());
  } catch (const CLI::ParseError& e) {
    if (const auto message = unknown_command_message(app, count, pointers.data())) {
      print_err(*message);
      return kExitUsage;
    }
    // --help and --version end here too, with status 0.
    if (e.get_exit_code() == 0) return app.exit(e) == 0 ? kExitSuccess : kExitUsage;
    if (count == 1) {
      // Nothing asked: what there is to ask.
      print_err("tracciato: give a command\n\n" + app.help());
      return kExitUsage;
    }
    // The problem is named with the command it belongs to, and where to look.
    std::string who = "tracciato";
    for (const CLI::App* command : app.get_subcommands()) who += " " + command->get_name();
    print_err(who + ": " + e.what() + "; see " + who + " --help\n");
    return kExitUsage;
  }
  // Every failure a command does not turn into its own sentence still ends
  // as one, with a documented status: never as an uncaught exception.
  try {
    if (compile->parsed()) return run_compile_command(compile_args);
    if (decompile->parsed()) return run_decompile_command(decompile_args);
    if (diff->parsed()) return run_diff_command(diff_args);
    if (example->parsed()) return run_example_command(example_args);
    if (inspect->parsed()) return run_inspect_command(inspect_args);
    if (lint->parsed()) return run_lint_command(lint_args);
    if (plot->parsed()) return run_plot_command(plot_args);
    if (package->parsed()) return run_package_command(package_args);
    if (explain->parsed()) return run_explain_command(explain_args);
    if (view->parsed()) return run_view_command(view_args);
    if (lsp->parsed()) return run_lsp_command();
  } catch (const std::bad_alloc&) {
    print_err(
        "tracciato: not enough memory for this input; close other programs or use a "
        "machine with more memory, then run again\n");
    return kExitIo;
  } catch (const std::exception& e) {
    print_err("tracciato: " + std::string(e.what()) + "\n");
    return kExitIo;
  }
  return kExitUsage;
}
