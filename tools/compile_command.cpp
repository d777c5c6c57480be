#include "tools/compile_command.h"

#include <CLI/CLI.hpp>

#include "driver/failure_message.h"
#include "platform/file_replace.h"
#include "platform/staged_files.h"
#include "platform/utf8_path.h"
#include "text/windows1252.h"
#include "tools/author_compile.h"
#include "tools/author_findings.h"
#include "tools/compile_report.h"
#include "tools/compile_watch.h"
#include "tools/console_output.h"
#include "tools/description_encoding.h"
#include "tools/encoding_option.h"
#include "tools/scenario_names.h"
#include "tools/terminal_colour.h"

namespace tracciato {
namespace {

void complain(const std::string& text) { print_err("tracciato compile: " + text + "\n"); }

// A name the author gave, or the one the file name carries, in UTF-8.
// nullopt after telling the author what is missing or unusable.
std::optional<std::string> resolve_name(const std::optional<std::string>& given,
                                        const std::optional<std::string>& derived,
                                        std::string_view option, std::string_view what,
                                        std::string_view file, std::string_view shape) {
  if (given) {
    if (const auto problem = scenario_name_problem(*given)) {
      complain(std::string(option) + ": " + *problem);
      return std::nullopt;
    }
    if (const auto problem = code_page_problem(*given)) {
      complain(std::string(option) + " '" + *given + "': " + *problem);
      return std::nullopt;
    }
    return given;
  }
  if (!derived) {
    complain("cannot take the " + std::string(what) + " from '" + std::string(file) +
             "' (not named " + std::string(shape) + "); give " + std::string(option));
    return std::nullopt;
  }
  if (const auto problem = code_page_problem(*derived)) {
    complain("the " + std::string(what) + " '" + *derived + "' taken from '" + std::string(file) +
             "': " + *problem + "; or give " + std::string(option));
    return std::nullopt;
  }
  return derived;
}

}  // namespace

CLI::App* add_compile_command(CLI::App& app, CompileArguments& args) {
  CLI::App* command = app.add_subcommand(
      "compile", "Compile a line and a train description into the simulator's scenario files");
  add_description_arguments(*command, args.line_file, args.train_file);
  command->add_option("--line-name", args.line_name,
                      "The line name (default: LINE's file name without _linea.txt)");
  command->add_option("--train-number", args.train_number,
                      "The train number (default: from TRAIN's file name)");
  command->add_option("--out", args.out_dir,
                      "Folder for the scenario files, created when missing (default: .)");
  command->add_flag("--no-track", args.no_track, "Do not compute or write the track file");
  command->add_flag("--keep-going", args.keep_going,
                    "Write the files even when a compile problem was recorded");
  command->add_flag("--strict", args.strict,
                    "Treat every warning as a problem: status 1, and no file written");
  add_encoding_option(*command, args.encoding);
  command->add_flag("--json", args.json,
                    "Print the result as one JSON object on standard output, and no diagnostic "
                    "text");
  command->add_flag("--watch", args.watch,
                    "Compile again whenever either description is saved, until interrupted; a "
                    "save that does not compile leaves the files of the last one whole");
  return command;
}

std::optional<std::pair<std::string, std::string>> compile_names(const CompileArguments& args) {
  const std::optional<std::string> line_name =
      resolve_name(args.line_name, line_name_from_file(path_from_utf8(args.line_file)),
                   "--line-name", "line name", args.line_file, "<line>_linea.txt");
  if (!line_name) return std::nullopt;
  const std::optional<std::string> train_number = resolve_name(
      args.train_number, train_number_from_file(path_from_utf8(args.train_file), *line_name),
      "--train-number", "train number", args.train_file, *line_name + "_<train>-.txt");
  if (!train_number) return std::nullopt;
  return std::pair{*line_name, *train_number};
}

int run_compile_command(const CompileArguments& args) {
  const auto names = compile_names(args);
  if (!names) return kExitUsage;
  if (args.watch) return run_compile_watch(args, *names, [] { return true; });
  return finish_output(run_one_compile(args, names->first, names->second).status);
}

}  // namespace tracciato
