#include "tools/compile_watch.h"

#include "platform/file_watch.h"
#include "platform/utf8_path.h"
#include "tools/console_output.h"

namespace tracciato {
namespace {

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

}  // namespace

int run_compile_watch(const CompileArguments& args,
                      const std::pair<std::string, std::string>& names,
                      const std::function<bool()>& keep_watching,
                      const std::function<void(const CompileRun&)>& on_run) {
  int runs = 0;
  int last_written = 0;
  int status = 0;
  const auto run = [&] {
    ++runs;
    const CompileRun result = run_one_compile(args, names.first, names.second);
    status = result.status;
    std::string line = "run " + std::to_string(runs) + ": " + result.summary;
    if (!result.written.empty()) {
      last_written = runs;
      line += "; wrote " + joined(result.written);
    } else if (last_written != 0) {
      line += "; the files of run " + std::to_string(last_written) + " stay as they were";
    } else {
      line += "; no file written";
    }
    if (!args.json) print_out(line + "\n");
    status = finish_output(status);
    if (on_run) on_run(result);
  };
  print_err("tracciato compile: watching " + args.line_file + " and " + args.train_file +
            "; interrupt to stop\n");
  watch_files({path_from_utf8(args.line_file), path_from_utf8(args.train_file)}, run,
              keep_watching);
  return status;
}

}  // namespace tracciato
