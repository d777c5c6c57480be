// `tracciato package LINE TRAIN --notes F --slowdown-order F --timetable F`:
// turns an author's scenario into self-installing packages for Linux and for
// Windows, each the install stub followed by the scenario's payload.
//
// The scenario is compiled first, exactly as `tracciato compile` compiles it,
// on the very bytes the package will write; a package is made only of a
// scenario that compiles without a problem.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tracciato {

struct PackageArguments {
  std::string line_file;
  std::string train_file;
  std::string notes_file;
  std::string slowdown_order_file;
  std::string timetable_file;
  std::optional<std::string> line_name;
  std::optional<std::string> train_number;
  std::string target;  // linux, windows or all; default: this platform
  std::optional<std::string> stub;
  std::string out_dir = ".";
  bool json = false;
  bool strict = false;                    // a warning fails the package, as in compile
  std::string encoding = "windows-1252";  // of the descriptions, as in compile
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_package_command(CLI::App& app, PackageArguments& args);

// Runs the parsed command; returns the exit status (tools/exit_status.h): 0
// when the packages are written, 1 when the scenario does not compile cleanly
// or a document holds a character the code page cannot carry, 2 for usage
// errors (a name that cannot be used, no stub), 4 when a file cannot be read
// or written.
int run_package_command(const PackageArguments& args);

// The places a stub named `stub_name` is looked for by a tool whose own file
// is `tool`: beside the tool, then the installed layout (../lib/tracciato).
std::vector<std::filesystem::path> stub_search_places(const std::filesystem::path& tool,
                                                      const std::string& stub_name);

}  // namespace tracciato
