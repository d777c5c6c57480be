#include "tools/example_command.h"

#include <CLI/CLI.hpp>

#include "platform/file_replace.h"
#include "platform/utf8_path.h"
#include "tools/console_output.h"
#include "tools/example_scenario.h"
#include "tools/exit_status.h"

namespace tracciato {

CLI::App* add_example_command(CLI::App& app, ExampleArguments& args) {
  CLI::App* command = app.add_subcommand(
      "example", "Write the embedded scenario's line and train descriptions and its documents");
  command->add_option("--out", args.out_dir,
                      "Folder for the files, created when missing (default: .)");
  command->add_flag("--force", args.force, "Replace files of the same names");
  return command;
}

int run_example_command(const ExampleArguments& args) {
  // An author's edited description under the usual name is work that a
  // second `example` must not wipe out unasked.
  if (!args.force) {
    const auto present = example_files_present(path_from_utf8(args.out_dir));
    for (const auto& path : present) {
      print_err("tracciato example: " + utf8_of(path) +
                ": already exists; not replaced (--force replaces it)\n");
    }
    if (!present.empty()) return kExitUsage;
  }
  try {
    for (const std::string& name : write_example_scenario(path_from_utf8(args.out_dir))) {
      print_out(utf8_of(path_from_utf8(args.out_dir) / name) + "\n");
    }
    return finish_output(kExitSuccess);
  } catch (const IoError& e) {
    print_err("tracciato example: " + std::string(e.what()) + "\n");
    return kExitIo;
  }
}

}  // namespace tracciato
