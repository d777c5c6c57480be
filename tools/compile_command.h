// `tracciato compile LINE TRAIN`: compiles an author's two descriptions into
// the three binary scenario files, with readable diagnostics: the warnings the
// analysis finds, then the compile's problem, each on standard error.
#pragma once

#include <optional>
#include <string>

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
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_compile_command(CLI::App& app, CompileArguments& args);

// Runs the parsed command; returns the exit status.
int run_compile_command(const CompileArguments& args);

}  // namespace tracciato
