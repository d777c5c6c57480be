#include "tools/lint_command.h"

#include <CLI/CLI.hpp>

#include "platform/file_replace.h"
#include "tools/console_output.h"
#include "tools/lint_report.h"
#include "tools/scenario_names.h"

namespace tracciato {

CLI::App* add_lint_command(CLI::App& app, LintArguments& args) {
  CLI::App* command = app.add_subcommand("lint",
                                         "Check a line and a train description for records that "
                                         "are probably mistakes; writes nothing");
  command->add_option("LINE", args.line_file, "The line description (<line>_linea.txt)")
      ->required();
  command->add_option("TRAIN", args.train_file, "The train description (<line>_<train>-.txt)")
      ->required();
  command->add_flag("--json", args.json,
                    "Print the warnings and the compile's result as one JSON object");
  return command;
}

int run_lint_command(const LintArguments& args) {
  try {
    const AuthorDescriptions descriptions =
        read_author_descriptions(args.line_file, args.train_file);
    // The names reach only the item table and the competition codes, which
    // nothing here checks: any will do when the file names carry none.
    const std::string line_name = line_name_from_file(args.line_file).value_or("line");
    const std::string train_number =
        train_number_from_file(args.train_file, line_name).value_or("train");
    const LintResult result = lint_scenario(descriptions, line_name, train_number);
    print_out(args.json ? lint_report_json(descriptions, result)
                        : lint_messages(descriptions, result));
    return finish_output(lint_exit_status(result));
  } catch (const IoError& e) {
    print_err("tracciato lint: " + std::string(e.what()) + "\n");
    return kLintError;
  }
}

}  // namespace tracciato
