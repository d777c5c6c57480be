// One compile of the generated 1,000,000 m line, alone in its process, as an
// author's `tracciato compile` would run it: prints the wall time, the peak
// resident memory and what the compile recorded.
//
// Usage: long_line_peak_memory FOLDER   (the descriptions and the scenario
// files are written there)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "bench/long_line.h"
#include "driver/file_names.h"
#include "platform/file_replace.h"
#include "tools/author_compile.h"
#include "tools/compile_report.h"

int main(int argc, char** argv) {
  using namespace tracciato;
  if (argc != 2) {
    std::fprintf(stderr, "usage: long_line_peak_memory FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const ScenarioFileNames names =
      scenario_file_names(bench::kLongLineName, bench::kLongTrainNumber);
  {
    std::filesystem::create_directories(folder);
    const bench::GeneratedScenario scenario = bench::generate_long_line();
    replace_file(folder / names.line_description, scenario.line_description);
    replace_file(folder / names.train_description, scenario.train_description);
  }

  const auto start = std::chrono::steady_clock::now();
  const AuthorDescriptions descriptions =
      read_author_descriptions(folder / names.line_description, folder / names.train_description);
  const AuthorCompileResult result =
      compile_author_scenario(descriptions, {.line_name = std::string(bench::kLongLineName),
                                             .train_number = std::string(bench::kLongTrainNumber),
                                             .out_dir = folder,
                                             .track = true,
                                             .keep_going = false});
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("compile+write %.3f s, peak resident memory %.1f MB (ru_maxrss %ld KB)\n",
              elapsed.count(), static_cast<double>(usage.ru_maxrss) / 1024.0, usage.ru_maxrss);
  std::printf("%s", compile_report_json(descriptions, result).c_str());
  return compile_exit_status(result);
}
