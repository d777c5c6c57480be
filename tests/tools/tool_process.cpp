#include "tool_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(cwd.c_str()) != 0) {
      _exit(127);
    }
    if (options.without_display) unsetenv("DISPLAY");
    execv(argv[0], argv.data());
    _exit(127);
  }
  int wstatus = 0;
  if (waitpid(pid, &wstatus, 0) != pid) throw std::runtime_error("waitpid failed");

  ProgramRun run;
  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  if (!options.stdout_file) run.out = read_file(out_file);
  run.err = read_file(err_file);
  return run;
}

ProgramRun run_tracciato(const std::filesystem::path& cwd, const std::vector<std::string>& args,
                         const RunOptions& options) {
  return run_program(TRACCIATO_TOOL_PATH, args, cwd, options);
}

}  // namespace tracciato::test_support
