// Runs the benchmarks, then states each run as a multiple of its floor, from
// the figures of this one process.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

// The console report, keeping each benchmark's real time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so a saved report stays plain text.
  RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
      seconds_[run.run_name.function_name] =
          run.real_accumulated_time / static_cast<double>(run.iterations);
    }
  }

  void print_ratio(const char* what, const std::string& run, const std::string& floor) const {
    const auto r = seconds_.find(run);
    const auto f = seconds_.find(floor);
    if (r == seconds_.end() || f == seconds_.end() || f->second <= 0) return;
    std::printf("%-28s %9.3f ms  floor %9.3f ms  ratio %6.2fx\n", what, r->second * 1e3,
                f->second * 1e3, r->second / f->second);
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  reporter.print_ratio("install run", "BM_InstallRun", "BM_InstallFloor");
  reporter.print_ratio("1,000,000 m compile+write", "BM_LongLineCompile", "BM_LongLineFloor");
  benchmark::Shutdown();
  return 0;
}
