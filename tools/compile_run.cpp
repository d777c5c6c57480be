#include "driver/failure_message.h"
#include "platform/file_replace.h"
#include "platform/staged_files.h"
#include "platform/utf8_path.h"
#include "text/windows1252.h"
#include "tools/author_compile.h"
#include "tools/author_findings.h"
#include "tools/compile_command.h"
#include "tools/compile_report.h"
#include "tools/console_output.h"
#include "tools/description_encoding.h"
#include "tools/encoding_option.h"
#include "tools/exit_status.h"
#include "tools/scenario_names.h"

namespace tracciato {
namespace {

void complain(const std::string& text) { print_err("tracciato compile: " + text + "\n"); }

}  // namespace

// The diagnostics go to standard error (or the JSON object to standard
// output), the files are written unless a problem keeps them back.
CompileRun run_one_compile(const CompileArguments& args, const std::string& line_name,
                           const std::string& train_number) {
  CompileRun run;
  AuthorDescriptions descriptions;
  try {
    const std::filesystem::path line = path_from_utf8(args.line_file);
    const std::filesystem::path train = path_from_utf8(args.train_file);
    descriptions = read_author_descriptions(line, train);
  } catch (const IoError& e) {
    complain(e.what());
    run.status = kExitIo;
    run.summary = "not compiled: a description cannot be read";
    return run;
  }
  if (const auto problem = convert_descriptions(descriptions, args.encoding)) {
    print_err(*problem);
    run.status = kExitProblems;
    run.summary = "not compiled: a description is not " + args.encoding;
    return run;
  }
  const bool check_encoding = args.encoding != kUtf8Encoding;
  try {
    // Under --strict a warning fails the compile as an error does: nothing
    // is written unless the author asks to see the files anyway. Otherwise
    // the warnings are found after the compile, so that a description full
    // of them and the compile's model are not held at once.
    std::vector<Diagnostic> warnings;
    if (args.strict) warnings = description_warnings(descriptions, check_encoding);
    const bool warnings_fail = args.strict && !warnings.empty();
    const AuthorCompileResult result =
        compile_author_scenario(descriptions, {.line_name = windows1252_name(line_name),
                                               .train_number = windows1252_name(train_number),
                                               .out_dir = path_from_utf8(args.out_dir),
                                               .track = !args.no_track,
                                               .keep_going = args.keep_going,
                                               .write = !warnings_fail || args.keep_going});
    if (!args.strict) warnings = description_warnings(descriptions, check_encoding);
    if (result.recovered) complain(*result.recovered);
    if (args.json) {
      write_compile_report_json(descriptions, result, warnings, print_out);
    } else {
      print_findings(descriptions, warnings, result);
      if (warnings_fail && result.written.empty() &&
          findings_status(warnings, result, false) == kExitSuccess) {
        complain("--strict: the warnings fail the compile; no file written");
      }
    }
    run.status = findings_status(warnings, result, args.strict);
    for (const std::string& name : result.written) run.written.push_back(windows1252_to_utf8(name));
    const size_t errors =
        compile_diagnostics(result).size() + (result.stop != CompileStop::kNone ? 1 : 0);
    run.summary = run.written.empty() ? "not compiled" : "compiled";
    if (errors != 0 || !warnings.empty()) {
      run.summary += " (" + diagnostic_summary(errors, warnings.size()) + ")";
    }
  } catch (const TargetRefused& e) {
    complain(e.what());
    run.status = kExitUsage;
    run.summary = "not compiled: an output file is in the way";
  } catch (const IoError& e) {
    complain(file_failure_message(e, "run tracciato compile again"));
    run.status = kExitIo;
    run.summary = "not written: a file cannot be written";
  } catch (const std::exception& e) {
    // The output layer refuses a name too long for the item file's 16-bit
    // length.
    complain(e.what());
    run.status = kExitUsage;
    run.summary = "not compiled";
  }
  return run;
}

}  // namespace tracciato
