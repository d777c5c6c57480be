#include "tools/inspect_command.h"

#include <CLI/CLI.hpp>

#include "authoring/inspect_report.h"
#include "authoring/scenario_decoding.h"
#include "platform/bounded_read.h"
#include "platform/file_replace.h"
#include "platform/utf8_path.h"
#include "tools/console_output.h"
#include "tools/exit_status.h"
#include "tools/package_inspection.h"

namespace tracciato {

CLI::App* add_inspect_command(CLI::App& app, InspectArguments& args) {
  CLI::App* command = app.add_subcommand("inspect",
                                         "Show the records of a scenario file: cell file (.dat), "
                                         "item file (.sim) or track file (_linea.dat), or what a "
                                         "package holds");
  command->add_option("FILE", args.file, "The scenario file")->required();
  command->add_flag("--json", args.json, "Print every field of every record as JSON");
  command->add_option(
      "--cells", args.cells,
      "Only records A..B (cells of a cell file, entries of an item file, metres of a track file)");
  command->add_flag(
      "--nonzero", args.nonzero,
      "Leave out records with nothing in them (cells without an object or approach code)");
  command->add_flag("--records", args.records,
                    "Print the file as records, a change a line or two (for git's textconv): "
                    "runs of cells, objects, item entries, curves");
  command->add_option("--extract", args.extract,
                      "For a package: write its five documents into this folder");
  command->add_option("--kind", args.kind, "Read the file as this kind, whatever its name")
      ->check(CLI::IsMember({"cell", "item", "track"}));
  return command;
}

int run_inspect_command(const InspectArguments& args) {
  InspectOptions options;
  options.nonzero = args.nonzero;
  if (args.cells) {
    options.range = parse_record_range(*args.cells);
    if (!options.range) {
      print_err("tracciato inspect: --cells " + *args.cells +
                ": expected A..B, whole numbers from A up to B\n");
      return kExitUsage;
    }
  }
  try {
    // A package begins as a program does; a scenario file never can (its
    // first byte is a cell kind, a record's name length or a track tag).
    const std::filesystem::path path = path_from_utf8(args.file);
    if (!args.kind && looks_like_program(path))
      return inspect_package(path, args.json, args.extract);
    if (args.extract) {
      print_err("tracciato inspect: --extract is for packages; " + args.file + " is not one\n");
      return kExitUsage;
    }
    // Looked at before it is read: a folder, a pipe, a device or a file
    // larger than the longest line makes is refused at once.
    const std::optional<ScenarioFileKind> kind =
        args.kind ? kind_from_word(*args.kind) : kind_from_file_name(path);
    const std::string bytes = read_bounded_file(
        path, kind ? largest_file_size(*kind) : largest_scenario_file_size(),
        kind ? "a scenario " + std::string(kind_name(*kind)) + " file" : "a scenario file");
    const DecodedScenarioFile file =
        decode_named_file(path, bytes, args.kind ? kind : std::nullopt);
    if (options.range) {
      // A range wholly past the file's end is a mistake, not an empty table.
      const size_t records = file.kind == ScenarioFileKind::kCell   ? file.cells.size()
                             : file.kind == ScenarioFileKind::kItem ? file.items.size()
                                                                    : file.track.size();
      if (options.range->first >= static_cast<int64_t>(records)) {
        const char* what = file.kind == ScenarioFileKind::kCell   ? "cells"
                           : file.kind == ScenarioFileKind::kItem ? "entries"
                                                                  : "metres";
        print_err("tracciato inspect: --cells " + *args.cells + ": the file holds " + what +
                  " 0 to " + std::to_string(static_cast<int64_t>(records) - 1) +
                  " only; give a range within them\n");
        return kExitUsage;
      }
    }
    print_out(args.records ? inspect_records(file)
              : args.json  ? inspect_json(file, options)
                           : inspect_table(file, options));
    return finish_output(kExitSuccess);
  } catch (const IoError& e) {
    print_err("tracciato inspect: " + std::string(e.what()) + "\n");
    return kExitIo;
  } catch (const std::filesystem::filesystem_error& e) {
    // The folder --extract names cannot be made.
    print_err("tracciato inspect: " + utf8_of(e.path1()) + ": " + e.code().message() + "\n");
    return kExitIo;
  } catch (const DecodeError& e) {
    print_err("tracciato inspect: " + args.file + ": " + e.what() + "\n");
    return kExitDamaged;
  }
}

}  // namespace tracciato
