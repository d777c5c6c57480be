#include "tools/lint_command.h"

#include <CLI/CLI.hpp>

#include "platform/file_replace.h"
#include "platform/utf8_path.h"
#include "tools/author_findings.h"
#include "tools/console_output.h"
#include "tools/description_encoding.h"
#include "tools/encoding_option.h"
#include "tools/lint_report.h"
#include "tools/scenario_names.h"
#include "tools/terminal_colour.h"

namespace tracciato {
namespace {

// The names reach only the item table and the competition codes, which
// nothing here checks: any will do when the file names carry none or one
// the code page cannot hold.
std::string name_or(const std::optional<std::string>& utf8_name, std::string_view fallback) {
  if (!utf8_name || code_page_problem(*utf8_name)) return std::string(fallback);
  return windows1252_name(*utf8_name);
}

}  // namespace

CLI::App* add_lint_command(CLI::App& app, LintArguments& args) {
  CLI::App* command = app.add_subcommand("lint",
                                         "Check a line and a train description for records that "
                                         "are probably mistakes; writes nothing");
  add_description_arguments(*command, args.line_file, args.train_file);
  command->add_flag("--strict", args.strict, "Treat every warning as a problem: status 1");
  add_encoding_option(*command, args.encoding);
  command->add_flag("--json", args.json,
                    "Print the warnings and the compile's result as one JSON object on standard "
                    "output, and no diagnostic text");
  return command;
}

int run_lint_command(const LintArguments& args) {
  AuthorDescriptions descriptions;
  try {
    descriptions =
        read_author_descriptions(path_from_utf8(args.line_file), path_from_utf8(args.train_file));
  } catch (const IoError& e) {
    print_err("tracciato lint: " + std::string(e.what()) + "\n");
    return kExitIo;
  }
  if (const auto problem = convert_descriptions(descriptions, args.encoding)) {
    print_err(*problem);
    return kExitProblems;
  }
  const std::optional<std::string> line_name = line_name_from_file(path_from_utf8(args.line_file));
  const std::string train_number = name_or(
      train_number_from_file(path_from_utf8(args.train_file), line_name.value_or("line")), "train");
  const LintResult result = lint_scenario(descriptions, name_or(line_name, "line"), train_number,
                                          args.encoding != kUtf8Encoding);
  if (args.json) {
    write_lint_report_json(descriptions, result, args.strict, print_out);
  } else {
    print_findings(descriptions, result.warnings, result.compile);
  }
  return finish_output(lint_exit_status(result, args.strict));
}

}  // namespace tracciato
