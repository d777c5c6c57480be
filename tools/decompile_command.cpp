#include "tools/decompile_command.h"

#include <CLI/CLI.hpp>
#include <system_error>

#include "authoring/decompile.h"
#include "driver/file_names.h"
#include "driver/install_scenario.h"
#include "package/payload.h"
#include "platform/file_replace.h"
#include "platform/staged_files.h"
#include "platform/utf8_path.h"
#include "text/windows1252.h"
#include "tools/console_output.h"
#include "tools/decompile_report.h"
#include "tools/exit_status.h"
#include "tools/package_inspection.h"
#include "tools/scenario_names.h"
#include "tools/scenario_sources.h"

namespace tracciato {
namespace {

namespace fs = std::filesystem;

void complain(const std::string& text) { print_err("tracciato decompile: " + text + "\n"); }

// A file to write: where, and its bytes.
struct Output {
  fs::path path;
  std::string bytes;
};

// Writes the files all together or not at all; none replaces a file of the
// same name unless asked to. Returns the status.
int write_outputs(const DecompileArguments& args, const std::vector<Output>& outputs,
                  std::vector<std::string>& written) {
  const fs::path folder = path_from_utf8(args.out_dir);
  if (!args.force) {
    bool present = false;
    for (const Output& out : outputs) {
      std::error_code ec;
      if (fs::exists(out.path, ec)) {
        complain(utf8_of(out.path) + ": already exists; not replaced (--force replaces it)");
        present = true;
      }
    }
    if (present) return kExitUsage;
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw IoError(folder, ec.message());
  StagedReplacement replacement(folder);
  for (const Output& out : outputs) replacement.stage(out.path, out.bytes);
  replacement.commit();
  for (const Output& out : outputs) written.push_back(utf8_of(out.path));
  return kExitSuccess;
}

// The names must name files: a name a compile never takes (empty, holding
// a path separator) is refused as the field that holds it.
void refuse_unusable_names(DecompileResult& result) {
  const std::string names[2] = {result.line_name, result.train_number};
  for (int i = 0; i < 2; ++i) {
    const std::string utf8 = windows1252_to_utf8(names[i]);
    const std::optional<std::string> problem = scenario_name_problem(utf8);
    if (!problem) continue;
    result.proven = false;
    result.refusals.insert(
        result.refusals.begin(),
        Refusal{ScenarioFileKind::kItem, i == 0 ? kLineIdentity : kTrainIdentity, "name", 0,
                "\"" + utf8 + "\"", "no description file can be named so: " + *problem});
  }
}

int report(const DecompileArguments& args, const DecompileResult& result,
           const ScenarioSource& source, const std::vector<std::string>& written, int status) {
  if (args.json) {
    print_out(decompile_report_json(result, source, written));
  } else if (!result.proven) {
    print_err(refusal_lines(result.refusals, source));
    complain(std::to_string(result.refusals.size()) +
             (result.refusals.size() == 1 ? " field" : " fields") +
             " no description gives; nothing written");
  } else {
    for (const std::string& path : written) print_out(path + "\n");
    if (const std::string note = reading_note(result); !note.empty()) complain("note: " + note);
    if (!source.files.track) {
      complain(
          "note: the scenario has no track file; compile the descriptions with --no-track "
          "for the same files");
    }
  }
  return finish_output(status);
}

int decompile_files(const DecompileArguments& args) {
  const ScenarioSource source = read_scenario_files(args.sources);
  DecompileResult result = decompile_scenario(source.files);
  refuse_unusable_names(result);
  if (!result.proven) return report(args, result, source, {}, kExitProblems);
  const ScenarioFileNames names = scenario_file_names(result.line_name, result.train_number);
  const fs::path folder = path_from_utf8(args.out_dir);
  std::vector<std::string> written;
  const int status =
      write_outputs(args,
                    {{folder / file_name_path(names.line_description), result.line_text},
                     {folder / file_name_path(names.train_description), result.train_text}},
                    written);
  if (status != kExitSuccess) return status;
  return report(args, result, source, written, kExitSuccess);
}

constexpr DocumentKind kDocuments[] = {DocumentKind::kLineDescription,
                                       DocumentKind::kTrainDescription, DocumentKind::kNotes,
                                       DocumentKind::kSlowdownOrder, DocumentKind::kTimetable};

// A package carries its descriptions and documents; its own compile, as
// the install program runs it, must read back to them before they are
// written out.
int decompile_package(const DecompileArguments& args, const fs::path& file) {
  const auto read = read_package(file);
  if (const auto* damage = std::get_if<PackageDamage>(&read)) {
    complain(utf8_of(file) + ": this package is damaged (" + damage->reason + ")");
    return kExitDamaged;
  }
  const InstallScenario& scenario = std::get<PackageContents>(read).scenario;
  ScenarioSource source;
  source.cell_file = source.item_file = source.track_file = utf8_of(file) + " (its own compile)";
  const std::optional<ScenarioFiles> compiled =
      compile_in_memory(scenario.document(DocumentKind::kLineDescription),
                        scenario.document(DocumentKind::kTrainDescription), scenario.line_name,
                        scenario.train_number, true);
  if (!compiled) {
    complain(utf8_of(file) + ": the package's own compile stops before it writes a file");
    return kExitProblems;
  }
  source.files = *compiled;
  const DecompileResult result = decompile_scenario(source.files);
  if (!result.proven) return report(args, result, source, {}, kExitProblems);
  std::vector<Output> outputs;
  const fs::path folder = path_from_utf8(args.out_dir);
  for (const DocumentKind kind : kDocuments) {
    outputs.push_back({folder / file_name_path(document_file_name(kind, scenario.line_name,
                                                                  scenario.train_number)),
                       scenario.document(kind)});
  }
  std::vector<std::string> written;
  const int status = write_outputs(args, outputs, written);
  if (status != kExitSuccess) return status;
  return report(args, result, source, written, kExitSuccess);
}

}  // namespace

CLI::App* add_decompile_command(CLI::App& app, DecompileArguments& args) {
  CLI::App* command = app.add_subcommand(
      "decompile",
      "Write the line and train descriptions that compile back to a scenario's files, byte for "
      "byte; or the descriptions and documents a package carries");
  command
      ->add_option("SOURCE", args.sources,
                   "The scenario's folder; or its cell file (.dat), item file (.sim) and, when it "
                   "has one, track file (_linea.dat); or a package")
      ->required()
      ->expected(1, 3);
  command->add_option("--out", args.out_dir,
                      "Folder for the descriptions, created when missing (default: .)");
  command->add_flag("--force", args.force, "Replace files of the same names");
  command->add_flag("--json", args.json,
                    "Print the result as one JSON object on standard output: what was written, "
                    "or every field no description gives");
  return command;
}

int run_decompile_command(const DecompileArguments& args) {
  return with_scenario_errors("decompile", [&] {
    if (args.sources.size() == 1) {
      const fs::path path = path_from_utf8(args.sources.front());
      std::error_code ec;
      if (fs::is_regular_file(path, ec) && looks_like_program(path)) {
        return decompile_package(args, path);
      }
    }
    return decompile_files(args);
  });
}

}  // namespace tracciato
