#include "tool_process.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "platform/file_replace.h"
#include "support/temp_folder.h"

namespace tracciato::test_support {

ProgramRun run_program(const std::filesystem::path& program, const std::vector<std::string>& args,
                       const std::filesystem::path& cwd, const RunOptions& options) {
  // The captured streams live in a folder of their own, so the folder under
  // test holds only what the program wrote.
  TempFolder capture;
  const std::filesystem::path out_file = options.stdout_file.value_or(capture / "stdout");
  const std::filesystem::path err_file = capture / "stderr";

  std::vector<std::string> argv_text{program.string()};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);

  // A raw pseudo-terminal keeps the bytes as written (no CR before LF).
  int terminal = -1;
  int terminal_side = -1;
  if (options.stderr_terminal) {
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&terminal, &terminal_side, nullptr, &raw, nullptr) != 0) {
      throw std::runtime_error("openpty failed");
    }
  }

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (terminal >= 0) close(terminal);
    const int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = options.stderr_terminal
                        ? terminal_side
                        : open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(cwd.c_str()) != 0) {
      _exit(127);
    }
    if (options.without_display) unsetenv("DISPLAY");
    for (const auto& [name, value] : options.environment) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
    execv(argv[0], argv.data());
    _exit(127);
  }

  ProgramRun run;
  if (options.stderr_terminal) {
    // Read while the program runs, so it never waits on a full terminal;
    // the read fails (EIO) once the program has closed its side.
    close(terminal_side);
    char buffer[4096];
    for (;;) {
      const ssize_t n = read(terminal, buffer, sizeof buffer);
      if (n > 0) {
        run.err.append(buffer, static_cast<size_t>(n));
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else {
        break;
      }
    }
    close(terminal);
  }
  int wstatus = 0;
  if (waitpid(pid, &wstatus, 0) != pid) throw std::runtime_error("waitpid failed");

  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  if (!options.stdout_file) run.out = read_file(out_file);
  if (!options.stderr_terminal) run.err = read_file(err_file);
  return run;
}

ProgramRun run_tracciato(const std::filesystem::path& cwd, const std::vector<std::string>& args,
                         const RunOptions& options) {
  return run_program(TRACCIATO_TOOL_PATH, args, cwd, options);
}

}  // namespace tracciato::test_support
