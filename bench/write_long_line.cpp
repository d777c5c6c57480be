// Writes the generated long line's two descriptions into a folder, for the
// whole-process benchmark of `tracciato compile`.
//
// Usage: write_long_line FOLDER [LENGTH]   (metres; the longest line by
// default)
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench/long_line.h"
#include "driver/file_names.h"
#include "platform/file_replace.h"

int main(int argc, char** argv) {
  using namespace tracciato;
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: write_long_line FOLDER [LENGTH]\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const int length = argc == 3 ? std::atoi(argv[2]) : bench::kLongLineLength;
  const ScenarioFileNames names =
      scenario_file_names(bench::kLongLineName, bench::kLongTrainNumber);
  std::filesystem::create_directories(folder);
  const bench::GeneratedScenario scenario = bench::generate_long_line(length);
  replace_file(folder / names.line_description, scenario.line_description);
  replace_file(folder / names.train_description, scenario.train_description);
  return 0;
}
