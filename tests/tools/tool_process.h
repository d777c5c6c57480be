// Runs a built program of the project as a child process, the way an author
// or a user runs it, and collects what it printed.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tracciato::test_support {

struct ProgramRun {
  int status = -1;  // the exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

struct RunOptions {
  // Standard output goes to this file instead of being collected.
  std::optional<std::filesystem::path> stdout_file;
  // Runs without a display, as on a machine with no window system.
  bool without_display = false;
  // Standard error is a terminal (a pseudo-terminal whose output is
  // collected in `err`), as when the author runs the tool by hand.
  bool stderr_terminal = false;
  // Environment variables set for the run (NO_COLOR, ...); the variable
  // is removed when the value is nullopt.
  std::vector<std::pair<std::string, std::optional<std::string>>> environment;
};

// Runs `program` with `args` in the folder `cwd`.
ProgramRun run_program(const std::filesystem::path& program, const std::vector<std::string>& args,
                       const std::filesystem::path& cwd, const RunOptions& options = {});

// The built `tracciato`, run in `cwd`.
ProgramRun run_tracciato(const std::filesystem::path& cwd, const std::vector<std::string>& args,
                         const RunOptions& options = {});

}  // namespace tracciato::test_support
