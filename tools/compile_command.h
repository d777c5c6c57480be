// `tracciato compile LINE TRAIN`: compiles an author's two descriptions into
// the three binary scenario files, with readable diagnostics: the warnings the
// analysis finds, then the compile's problem, each on standard error.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace CLI {
class App;
}

namespace tracciato {

struct CompileArguments {
  std::string line_file;
  std::string train_file;
  std::optional<std::string> line_name;
  std::optional<std::string> train_number;
  std::string out_dir = ".";
  bool no_track = false;
  bool keep_going = false;
  bool strict = false;
  std::string encoding = "windows-1252";
  bool json = false;
  bool watch = false;
};

// What one compile did: its exit status, the files written (UTF-8 names) and
// a few words for a status line ("compiled (2 warnings)").
struct CompileRun {
  int status = 0;
  std::vector<std::string> written;
  std::string summary;
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_compile_command(CLI::App& app, CompileArguments& args);

// Runs the parsed command; returns the exit status.
int run_compile_command(const CompileArguments& args);

// The line name and train number (UTF-8) the compile takes, from the options
// or the file names; nullopt after telling the author what is missing.
std::optional<std::pair<std::string, std::string>> compile_names(const CompileArguments& args);

// One compile with its messages, as the command runs it.
CompileRun run_one_compile(const CompileArguments& args, const std::string& line_name,
                           const std::string& train_number);

}  // namespace tracciato
