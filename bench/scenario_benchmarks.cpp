// The measured runs and their floors. Each pair writes the same files: the
// run as the system does it, the floor as a plain copy of files of the same
// sizes. Every iteration writes into an empty folder, as the package meets
// on a first install; the folders are made and cleared outside the timing,
// since deleting a file whose pages are still being written out waits for
// the disk and would blur both figures.
#include <benchmark/benchmark.h>

#include "bench/bench_folder.h"
#include "bench/long_line.h"
#include "bench/plain_copy.h"
#include "documents/document.h"
#include "driver/compile_driver.h"
#include "driver/file_names.h"
#include "driver/form1.h"
#include "output/scenario_output.h"
#include "package/payload.h"
#include "platform/file_replace.h"
#include "platform/platform.h"
#include "tools/author_compile.h"

namespace tracciato::bench {
namespace {

void install_once(const std::filesystem::path& folder) {
  const std::unique_ptr<Desktop> desktop = headless_desktop();
  Form1 form(*desktop, folder);
  form.load();
}

// Every file the install run writes: the documents it leaves, the binary
// files, and the two descriptions it writes and deletes again.
std::map<std::string, std::string> install_output() {
  BenchFolder folder;
  install_once(folder.path());
  auto files = files_in(folder.path());
  const ScenarioFileNames names = scenario_file_names(kEmbeddedLineName, kEmbeddedTrainNumber);
  files[names.line_description] = render_document(line_description_document());
  files[names.train_description] = render_document(train_description_document());
  return files;
}

// A new empty folder for each iteration, the previous one removed, all
// outside the timing.
class FreshFolders {
 public:
  explicit FreshFolders(const BenchFolder& parent) : parent_(parent) {}

  std::filesystem::path next(benchmark::State& state) {
    state.PauseTiming();
    std::filesystem::remove_all(current_);
    current_ = parent_ / ("run" + std::to_string(count_++));
    std::filesystem::create_directories(current_);
    state.ResumeTiming();
    return current_;
  }

 private:
  const BenchFolder& parent_;
  std::filesystem::path current_;
  int count_ = 0;
};

int64_t total_size(const std::map<std::string, std::string>& files) {
  int64_t size = 0;
  for (const auto& [name, bytes] : files) size += static_cast<int64_t>(bytes.size());
  return size;
}

void BM_InstallRun(benchmark::State& state) {
  BenchFolder folder;
  FreshFolders fresh(folder);
  const int64_t bytes = total_size(install_output());
  for (auto _ : state) install_once(fresh.next(state));
  state.SetBytesProcessed(state.iterations() * bytes);
}

// What a package pays to find its scenario: the trailer, the payload read
// and its checksum, from a file the system has in its cache.
void BM_ReadPackage(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(read_package(INSTALL_PACKAGE_PATH));
}

void BM_InstallFloor(benchmark::State& state) {
  BenchFolder folder;
  FreshFolders fresh(folder);
  lay_out_sources(folder / "source", install_output());
  for (auto _ : state) benchmark::DoNotOptimize(plain_copy(folder / "source", fresh.next(state)));
  state.SetBytesProcessed(state.iterations() * total_size(files_in(folder / "source")));
}

// The long line's descriptions, laid out as an author keeps them.
AuthorDescriptions long_line_descriptions(const BenchFolder& folder) {
  const GeneratedScenario scenario = generate_long_line();
  const ScenarioFileNames names = scenario_file_names(kLongLineName, kLongTrainNumber);
  replace_file(folder / names.line_description, scenario.line_description);
  replace_file(folder / names.train_description, scenario.train_description);
  return {folder / names.line_description, folder / names.train_description, {}, {}};
}

AuthorCompileResult compile_long_line(const AuthorDescriptions& files,
                                      const std::filesystem::path& out) {
  const AuthorDescriptions descriptions =
      read_author_descriptions(files.line_file, files.train_file);
  return compile_author_scenario(descriptions, {.line_name = std::string(kLongLineName),
                                                .train_number = std::string(kLongTrainNumber),
                                                .out_dir = out,
                                                .track = true,
                                                .keep_going = false});
}

void BM_LongLineCompile(benchmark::State& state) {
  BenchFolder folder;
  FreshFolders fresh(folder);
  const AuthorDescriptions files = long_line_descriptions(folder);
  AuthorCompileResult result;
  for (auto _ : state) result = compile_long_line(files, fresh.next(state));
  // A compile that stopped early would be measured short: say what happened.
  state.counters["error_code"] = result.error_code;
  state.counters["files_written"] = static_cast<double>(result.written.size());
  compile_long_line(files, folder / "out");
  state.SetBytesProcessed(state.iterations() * total_size(files_in(folder / "out")));
}

void BM_LongLineFloor(benchmark::State& state) {
  BenchFolder folder;
  FreshFolders fresh(folder);
  compile_long_line(long_line_descriptions(folder), folder / "out");
  lay_out_sources(folder / "source", files_in(folder / "out"));
  for (auto _ : state) benchmark::DoNotOptimize(plain_copy(folder / "source", fresh.next(state)));
  state.SetBytesProcessed(state.iterations() * total_size(files_in(folder / "source")));
}

// The pieces of the long compile, in memory: the compile alone, and the track
// file's encoding into a sink that keeps nothing.
std::unique_ptr<ScenarioModel> compiled_long_line() {
  const GeneratedScenario scenario = generate_long_line();
  auto model = std::make_unique<ScenarioModel>();
  model->line_name = std::string(kLongLineName);
  model->train_number = std::string(kLongTrainNumber);
  MemoryDescriptions source(scenario.line_description, scenario.train_description);
  compile_scenario(*model, 1, source);
  return model;
}

void BM_LongLineCompileInMemory(benchmark::State& state) {
  const GeneratedScenario scenario = generate_long_line();
  for (auto _ : state) {
    ScenarioModel model;
    model.line_name = std::string(kLongLineName);
    model.train_number = std::string(kLongTrainNumber);
    MemoryDescriptions source(scenario.line_description, scenario.train_description);
    benchmark::DoNotOptimize(compile_scenario(model, 1, source));
  }
}

void BM_LongLineTrackEncode(benchmark::State& state) {
  const std::unique_ptr<ScenarioModel> model = compiled_long_line();
  size_t bytes = 0;
  for (auto _ : state) {
    encode_track_file(*model, [&bytes](std::string_view chunk) {
      benchmark::DoNotOptimize(chunk.data());
      bytes += chunk.size();
    });
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

BENCHMARK(BM_LongLineCompileInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LongLineTrackEncode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InstallRun)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadPackage)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_InstallFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LongLineCompile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LongLineFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tracciato::bench
