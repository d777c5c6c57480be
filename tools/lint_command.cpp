#include "tools/lint_command.h"

#include <CLI/CLI.hpp>

#include "platform/file_replace.h"
#include "platform/utf8_path.h"
#include "text/windows1252.h"
#include "tools/author_findings.h"
#include "tools/console_output.h"
#include "tools/description_encoding.h"
#include "tools/encoding_option.h"
#include "tools/lint_fix.h"
#include "tools/lint_report.h"
#include "tools/scenario_names.h"
#include "tools/terminal_colour.h"

namespace tracciato {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The fixed text in the encoding the file was read in: UTF-8 keeps its
// byte-order mark, if it had one.
std::string in_file_encoding(const std::string& fixed, const std::string& original,
                             const std::string& encoding) {
  if (encoding != kUtf8Encoding) return fixed;
  const bool mark = original.rfind(kByteOrderMark, 0) == 0;
  return (mark ? std::string(kByteOrderMark) : std::string()) + windows1252_to_utf8(fixed);
}

// Applies the fixes of `result` to the files; the descriptions take the
// fixed texts. Returns the status to end with, or 0 to go on.
int apply_lint_fixes(AuthorDescriptions& descriptions, const AuthorDescriptions& originals,
                     const LintResult& result, const std::string& encoding) {
  struct FixedFile {
    const std::filesystem::path* file;
    std::string* text;
    const std::string* original;
    std::vector<AppliedFix> applied;
    std::string fixed;
  };
  FixedFile files[] = {
      {&descriptions.line_file, &descriptions.line_text, &originals.line_text, {}, {}},
      {&descriptions.train_file, &descriptions.train_text, &originals.train_text, {}, {}}};
  files[0].fixed =
      apply_fixes(*files[0].text, Description::kLine, result.warnings, files[0].applied);
  files[1].fixed =
      apply_fixes(*files[1].text, Description::kTrain, result.warnings, files[1].applied);
  size_t count = 0;
  for (FixedFile& f : files) {
    if (f.applied.empty()) continue;
    try {
      replace_file(*f.file, in_file_encoding(f.fixed, *f.original, encoding));
    } catch (const IoError& e) {
      print_err("tracciato lint: " + std::string(e.what()) + "\n");
      return kExitIo;
    }
    *f.text = std::move(f.fixed);
    for (const AppliedFix& a : f.applied) {
      print_err(utf8_of(*f.file) + ":" + std::to_string(a.site.line) + ":" +
                std::to_string(a.site.column) + ": fixed: '" + windows1252_to_utf8(a.was) +
                "' is now '" + windows1252_to_utf8(a.now) + "'\n");
    }
    count += f.applied.size();
  }
  print_err(count == 0
                ? "tracciato lint: nothing to fix\n"
                : "tracciato lint: " + std::to_string(count) +
                      (count == 1 ? " field fixed" : " fields fixed") + "; what is left follows\n");
  return kExitSuccess;
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
  command->add_flag("--fix", args.fix,
                    "Apply every suggested fix (a mistyped key's 'did you mean') to the files, "
                    "each replaced whole, keeping its encoding and line ends; then report what is "
                    "left");
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
  const AuthorDescriptions originals = args.fix ? descriptions : AuthorDescriptions{};
  if (const auto problem = convert_descriptions(descriptions, args.encoding)) {
    print_err(*problem);
    return kExitProblems;
  }
  const auto [line_name, train_number] = analysis_names(args.line_file, args.train_file);
  const bool check_encoding = args.encoding != kUtf8Encoding;
  LintResult result = lint_scenario(descriptions, line_name, train_number, check_encoding);
  if (args.fix) {
    if (const int status = apply_lint_fixes(descriptions, originals, result, args.encoding)) {
      return status;
    }
    // The report tells of the files as they now are.
    result = lint_scenario(descriptions, line_name, train_number, check_encoding);
  }
  if (args.json) {
    write_lint_report_json(descriptions, result, args.strict, print_out);
  } else {
    print_findings(descriptions, result.warnings, result.compile);
  }
  return finish_output(lint_exit_status(result, args.strict));
}

}  // namespace tracciato
