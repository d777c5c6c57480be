#include "tools/package_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <system_error>
#include <variant>

#include "documents/author_document.h"
#include "driver/failure_message.h"
#include "driver/install_scenario.h"
#include "package/package_writer.h"
#include "package/payload.h"
#include "platform/bounded_read.h"
#include "platform/file_replace.h"
#include "platform/platform.h"
#include "platform/staged_files.h"
#include "platform/utf8_path.h"
#include "tools/author_compile.h"
#include "tools/author_findings.h"
#include "tools/compile_report.h"
#include "tools/console_output.h"
#include "tools/description_encoding.h"
#include "tools/encoding_option.h"
#include "tools/scenario_names.h"
#include "tools/terminal_colour.h"

namespace tracciato {
namespace {

constexpr std::string_view kCommand = "tracciato package";

struct Target {
  std::string platform;   // linux or windows
  std::string stub_name;  // the stub's file name
  std::string suffix;     // of the package's file name
};

const Target kLinux{"linux", "tracciato-stub", ""};
const Target kWindows{"windows", "tracciato-stub.exe", ".exe"};

void complain(const std::string& text) { print_err(std::string(kCommand) + ": " + text + "\n"); }

// The name given or taken from the file name, in UTF-8; nullopt after
// saying why it cannot name a scenario.
std::optional<std::string> resolve_name(const std::optional<std::string>& given,
                                        const std::optional<std::string>& derived,
                                        std::string_view option, std::string_view file) {
  std::optional<std::string> name = given ? given : derived;
  if (!name) {
    complain("cannot take the name from '" + std::string(file) + "'; give " + std::string(option));
    return std::nullopt;
  }
  if (const std::string problem = portable_name_problem(*name); !problem.empty()) {
    complain(std::string(option) + " '" + *name + "': " + problem);
    return std::nullopt;
  }
  if (const auto problem = code_page_problem(*name)) {
    complain(std::string(option) + " '" + *name + "': " + *problem);
    return std::nullopt;
  }
  return name;
}

std::vector<Target> targets_of(const std::string& word) {
  if (word == "linux") return {kLinux};
  if (word == "windows") return {kWindows};
  if (word == "all") return {kLinux, kWindows};
#ifdef _WIN32
  return {kWindows};
#else
  return {kLinux};
#endif
}

// The stub for `target`, or nullopt after naming every place looked.
std::optional<std::filesystem::path> find_stub(const Target& target,
                                               const std::optional<std::string>& given,
                                               size_t target_count) {
  std::vector<std::filesystem::path> places;
  if (given && target_count == 1) {
    places.push_back(path_from_utf8(*given));
  } else {
    places = stub_search_places(program_file(), target.stub_name);
  }
  for (const auto& place : places) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(place, ec)) return place;
  }
  std::string looked;
  for (const auto& place : places) looked += "\n  " + utf8_of(place);
  complain("no " + target.platform + " install stub (" + target.stub_name + "); looked at:" +
           looked + "\ngive its path with --stub, or build it (target tracciato-stub)");
  return std::nullopt;
}

// Reads the driver's three documents and converts each to the form the
// package writes: Windows-1252 or UTF-8 with any line ends, written as
// Windows-1252 CR LF lines. nullopt after telling the author which character
// cannot be carried.
std::optional<std::array<std::string, 3>> read_driver_documents(const PackageArguments& args) {
  const std::string* files[3] = {&args.notes_file, &args.slowdown_order_file, &args.timetable_file};
  std::array<std::string, 3> documents;
  for (size_t i = 0; i < 3; ++i) {
    auto bytes = author_document_bytes(
        read_bounded_file(path_from_utf8(*files[i]), kLargestDescription, "a document"));
    if (const auto* problem = std::get_if<DocumentCharacterProblem>(&bytes)) {
      print_err(*files[i] + ":" + std::to_string(problem->line) + ":" +
                std::to_string(problem->column) + ": error: " + problem->message + "\n");
      return std::nullopt;
    }
    documents[i] = std::get<std::string>(std::move(bytes));
  }
  return documents;
}

// The stub of every target, read and checked against its platform before
// anything is written. nullopt after saying which is wrong and why.
std::optional<std::vector<std::string>> read_stubs(
    const std::vector<Target>& targets, const std::vector<std::filesystem::path>& paths) {
  std::vector<std::string> stubs;
  for (size_t i = 0; i < targets.size(); ++i) {
    std::string bytes = read_bounded_file(paths[i], kLargestPackage, "an install stub");
    const std::string_view platform = targets[i].platform == "linux" ? "Linux" : "Windows";
    if (const auto problem = stub_problem(bytes, platform)) {
      complain(utf8_of(paths[i]) + ": " + *problem + "; give the " + std::string(platform) +
               " stub (" + targets[i].stub_name + ") with --stub, or another --target");
      return std::nullopt;
    }
    stubs.push_back(std::move(bytes));
  }
  return stubs;
}

// The input a package written to `out` would replace: a document or a stub
// of its own, which the author would lose. nullopt when none.
std::optional<std::string> input_in_the_way(const PackageArguments& args,
                                            const std::vector<std::filesystem::path>& stubs,
                                            const std::filesystem::path& out) {
  std::vector<std::filesystem::path> inputs = stubs;
  for (const std::string* file : {&args.line_file, &args.train_file, &args.notes_file,
                                  &args.slowdown_order_file, &args.timetable_file}) {
    inputs.push_back(path_from_utf8(*file));
  }
  for (const auto& input : inputs) {
    std::error_code ec;
    if (std::filesystem::equivalent(out, input, ec)) {
      return "--out: the package " + utf8_of(out) + " would replace " + utf8_of(input) +
             ", one of its own inputs; nothing was written: give another --out";
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::filesystem::path> stub_search_places(const std::filesystem::path& tool,
                                                      const std::string& stub_name) {
  const std::filesystem::path folder = tool.parent_path();
  return {folder / stub_name, (folder / ".." / "lib" / "tracciato" / stub_name).lexically_normal()};
}

CLI::App* add_package_command(CLI::App& app, PackageArguments& args) {
  CLI::App* command = app.add_subcommand(
      "package", "Make a self-installing package of a scenario, for Linux and for Windows");
  add_description_arguments(*command, args.line_file, args.train_file);
  command->add_option("--notes", args.notes_file, "The notes for the driver")->required();
  command->add_option("--slowdown-order", args.slowdown_order_file, "The slowdown order")
      ->required();
  command->add_option("--timetable", args.timetable_file, "The timetable sheet")->required();
  command->add_option("--line-name", args.line_name,
                      "The line name (default: LINE's file name without _linea.txt)");
  command->add_option("--train-number", args.train_number,
                      "The train number (default: from TRAIN's file name)");
  command->add_option("--target", args.target, "linux, windows or all (default: this platform)")
      ->check(CLI::IsMember({"linux", "windows", "all"}));
  command->add_option("--stub", args.stub,
                      "The install stub to use (default: beside the tool, then ../lib/tracciato)");
  command->add_option("--out", args.out_dir,
                      "Folder for the packages, created when missing (default: .)");
  command->add_flag("--strict", args.strict,
                    "Treat every warning as a problem, as compile does: status 1, no package");
  add_encoding_option(*command, args.encoding);
  command->add_flag("--json", args.json, "Print the result as one JSON object");
  return command;
}

int run_package_command(const PackageArguments& args) {
  const auto line_name =
      resolve_name(args.line_name, line_name_from_file(path_from_utf8(args.line_file)),
                   "--line-name", args.line_file);
  if (!line_name) return kExitUsage;
  const auto train_number = resolve_name(
      args.train_number, train_number_from_file(path_from_utf8(args.train_file), *line_name),
      "--train-number", args.train_file);
  if (!train_number) return kExitUsage;
  if (const std::string problem =
          installed_names_problem(windows1252_name(*line_name), windows1252_name(*train_number));
      !problem.empty()) {
    complain(problem);
    return kExitUsage;
  }
  const std::vector<Target> targets = targets_of(args.target);
  if (args.stub && targets.size() > 1) {
    complain("--stub names one stub; give --target linux or --target windows with it");
    return kExitUsage;
  }

  try {
    // The descriptions exactly as `tracciato compile` takes them: the same
    // encoding rule, the same warnings, the same --strict.
    AuthorDescriptions descriptions;
    std::optional<std::array<std::string, 3>> documents;
    try {
      descriptions =
          read_author_descriptions(path_from_utf8(args.line_file), path_from_utf8(args.train_file));
      documents = read_driver_documents(args);
    } catch (const IoError& e) {
      complain("cannot read " + std::string(e.what()));
      return kExitIo;
    }
    if (!documents) return kExitProblems;
    if (const auto problem = convert_descriptions(descriptions, args.encoding)) {
      print_err(*problem);
      return kExitProblems;
    }
    // The package carries the names as the simulator's files hold them, and
    // the descriptions as the compile below reads them.
    InstallScenario scenario{windows1252_name(*line_name),
                             windows1252_name(*train_number),
                             {descriptions.line_text, descriptions.train_text, (*documents)[0],
                              (*documents)[1], (*documents)[2]}};

    AuthorCompileOptions compile_only;
    compile_only.line_name = scenario.line_name;
    compile_only.train_number = scenario.train_number;
    compile_only.write = false;
    const AuthorCompileResult result = compile_author_scenario(descriptions, compile_only);
    const std::vector<Diagnostic> warnings =
        description_warnings(descriptions, args.encoding != kUtf8Encoding);
    const bool warnings_fail = args.strict && !warnings.empty();
    if (result.stop != CompileStop::kNone || result.error_code != 0 || warnings_fail) {
      if (args.json) {
        write_compile_report_json(descriptions, result, warnings, print_out);
      } else {
        print_findings(descriptions, warnings, result);
        complain(warnings_fail && result.stop == CompileStop::kNone && result.error_code == 0
                     ? "--strict: the warnings fail the package; no package written"
                     : "the scenario does not compile cleanly; no package written");
      }
      return finish_output(kExitProblems);
    }
    if (!args.json) {
      print_findings(descriptions, warnings, result);
    }

    std::vector<std::filesystem::path> stubs;
    for (const Target& target : targets) {
      const auto stub = find_stub(target, args.stub, targets.size());
      if (!stub) return kExitUsage;
      stubs.push_back(*stub);
    }
    const std::optional<std::vector<std::string>> stub_bytes = read_stubs(targets, stubs);
    if (!stub_bytes) return kExitUsage;
    const std::filesystem::path out_dir = path_from_utf8(args.out_dir);
    std::error_code ec;
    std::filesystem::create_directories(out_dir, ec);
    if (ec) throw IoError(out_dir, ec.message(), ec.value());
    std::vector<std::filesystem::path> outs;
    for (const Target& target : targets) {
      outs.push_back(out_dir / path_from_utf8(*line_name + "_" + *train_number + target.suffix));
      if (const auto problem = input_in_the_way(args, stubs, outs.back())) {
        complain(*problem);
        return kExitUsage;
      }
    }
    std::vector<std::string> written;
    for (size_t i = 0; i < targets.size(); ++i) {
      const std::filesystem::path& out = outs[i];
      write_package_of_stub((*stub_bytes)[i], scenario, out);
      written.push_back(utf8_of(out));
      if (!args.json) print_out(utf8_of(out) + "\n");
    }
    if (args.json) {
      nlohmann::ordered_json report;
      report["line_name"] = *line_name;
      report["train_number"] = *train_number;
      report["written"] = written;
      // The warnings the compile found, as `compile --json` gives them.
      std::string head = json_text(report);
      head.pop_back();  // the closing brace
      print_out(head + ",\"diagnostics\":");
      write_json_diagnostics(descriptions, warnings, {}, print_out);
      print_out("}\n");
    }
    return finish_output(kExitSuccess);
  } catch (const TargetRefused& e) {
    complain(e.what());
    return kExitUsage;
  } catch (const IoError& e) {
    complain(file_failure_message(e, "run " + std::string(kCommand) + " again"));
    return kExitIo;
  } catch (const std::exception& e) {
    complain(e.what());
  }
  return kExitUsage;
}

}  // namespace tracciato
