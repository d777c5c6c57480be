#include "tools/compile_command.h"

#include <CLI/CLI.hpp>

#include "driver/failure_message.h"
#include "platform/file_replace.h"
#include "tools/author_compile.h"
#include "tools/compile_report.h"
#include "tools/console_output.h"
#include "tools/scenario_names.h"

namespace tracciato {
namespace {

// A name the author gave, or the one the file name carries. nullopt after
// telling the author what is missing.
std::optional<std::string> resolve_name(const std::optional<std::string>& given,
                                        const std::optional<std::string>& derived,
                                        std::string_view option, std::string_view what,
                                        std::string_view file, std::string_view shape) {
  if (given) {
    if (const auto problem = scenario_name_problem(*given)) {
      print_err("tracciato compile: " + std::string(option) + ": " + *problem + "\n");
      return std::nullopt;
    }
    return given;
  }
  if (!derived) {
    print_err("tracciato compile: cannot take the " + std::string(what) + " from '" +
              std::string(file) + "' (not named " + std::string(shape) + "); give " +
              std::string(option) + "\n");
  }
  return derived;
}

}  // namespace

CLI::App* add_compile_command(CLI::App& app, CompileArguments& args) {
  CLI::App* command = app.add_subcommand(
      "compile", "Compile a line and a train description into the simulator's scenario files");
  command->add_option("LINE", args.line_file, "The line description (<line>_linea.txt)")
      ->required();
  command->add_option("TRAIN", args.train_file, "The train description (<line>_<train>-.txt)")
      ->required();
  command->add_option("--line-name", args.line_name,
                      "The line name (default: LINE's file name without _linea.txt)");
  command->add_option("--train-number", args.train_number,
                      "The train number (default: from TRAIN's file name)");
  command->add_option("--out", args.out_dir,
                      "Folder for the scenario files, created when missing (default: .)");
  command->add_flag("--no-track", args.no_track, "Do not compute or write the track file");
  command->add_flag("--keep-going", args.keep_going,
                    "Write the files even when a compile problem was recorded");
  command->add_flag("--json", args.json, "Print the result as one JSON object");
  return command;
}

int run_compile_command(const CompileArguments& args) {
  const std::optional<std::string> line_name =
      resolve_name(args.line_name, line_name_from_file(args.line_file), "--line-name", "line name",
                   args.line_file, "<line>_linea.txt");
  if (!line_name) return kExitUsage;
  const std::optional<std::string> train_number =
      resolve_name(args.train_number, train_number_from_file(args.train_file, *line_name),
                   "--train-number", "train number", args.train_file, *line_name + "_<train>-.txt");
  if (!train_number) return kExitUsage;

  AuthorDescriptions descriptions;
  try {
    descriptions = read_author_descriptions(args.line_file, args.train_file);
  } catch (const IoError& e) {
    print_err("tracciato compile: " + std::string(e.what()) + "\n");
    return kExitUsage;
  }
  try {
    const AuthorCompileResult result =
        compile_author_scenario(descriptions, {.line_name = *line_name,
                                               .train_number = *train_number,
                                               .out_dir = args.out_dir,
                                               .track = !args.no_track,
                                               .keep_going = args.keep_going});
    print_err(compile_messages(descriptions, result));
    if (args.json) print_out(compile_report_json(descriptions, result));
    return finish_output(compile_exit_status(result));
  } catch (const IoError& e) {
    print_err("tracciato compile: " + file_failure_message(e, "run tracciato compile again") +
              "\n");
    return kExitUsage;
  } catch (const std::exception& e) {
    // IoError names the path and the system's reason; the output layer also
    // refuses a name too long for the item file's 16-bit length.
    print_err("tracciato compile: " + std::string(e.what()) + "\n");
    return kExitUsage;
  }
}

}  // namespace tracciato
