// Times a program against its floor as whole processes, the way a user waits
// for them: each pair runs both, one after the other in alternating order,
// each into a fresh empty folder and from a disk with nothing left to write,
// and the pair's ratio is the program's wall time over the floor's. Prints
// the median ratio with its min and max, the median wall times and the peak
// resident memory of each.
//
// Usage:
//   process_pairs NAME PAIRS [--copy FILE] [--floor-copy FILE] [--against LABEL] [--status N]
//                 -- PROGRAM ARGS... -- FLOOR ARGS...
// Every argument "{dir}" becomes the fresh folder of that run. --copy puts
// FILE into the folder first (the install package runs from its own folder);
// --floor-copy puts another file of the same name into the floor's folder
// instead (one build's package against another's).
// The first pair also checks that both leave the same files, byte for byte.
// --against times the program against another program rather than a floor:
// LABEL names it in the output, and the files are not compared (lint writes
// none, the compile it is measured against does). --status N accepts N as
// well as 0 as a normal end (lint's status for warnings).
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "bench/bench_folder.h"

extern char** environ;

namespace tracciato::bench {
namespace {

struct Command {
  std::vector<std::string> args;
};

struct Measure {
  double seconds = 0;
  long peak_kb = 0;
};

// Whether two files hold the same bytes, read a block at a time: the timer
// stays small, since a child started from it counts the timer's memory into
// its own peak.
bool same_bytes(const std::filesystem::path& a, const std::filesystem::path& b) {
  if (std::filesystem::file_size(a) != std::filesystem::file_size(b)) return false;
  std::FILE* fa = std::fopen(a.c_str(), "rb");
  std::FILE* fb = std::fopen(b.c_str(), "rb");
  bool same = fa != nullptr && fb != nullptr;
  static char block_a[1 << 16], block_b[1 << 16];
  while (same) {
    const size_t n = std::fread(block_a, 1, sizeof block_a, fa);
    same = std::fread(block_b, 1, sizeof block_b, fb) == n && std::memcmp(block_a, block_b, n) == 0;
    if (n == 0) break;
  }
  if (fa != nullptr) std::fclose(fa);
  if (fb != nullptr) std::fclose(fb);
  return same;
}

// Whether two run folders hold the same files, the copied program aside.
bool same_files(const std::filesystem::path& a, const std::filesystem::path& b,
                const std::string& copied) {
  auto names = [&](const std::filesystem::path& dir) {
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (entry.path().filename() != copied) found.insert(entry.path().filename().string());
    }
    return found;
  };
  const std::set<std::string> in_a = names(a);
  if (in_a != names(b)) return false;
  for (const std::string& name : in_a) {
    if (!same_bytes(a / name, b / name)) return false;
  }
  return true;
}

Measure run(const Command& command, const std::filesystem::path& dir, int ok_status) {
  std::vector<std::string> args;
  for (const std::string& a : command.args) args.push_back(a == "{dir}" ? dir.string() : a);
  if (!args.empty() && args[0].starts_with("{dir}/")) args[0] = (dir / args[0].substr(6)).string();
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  // What either prints is not the measure: it goes nowhere.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  // Diagnostics too: a lint of a large text may print millions of lines.
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[0]);
    std::exit(2);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != ok_status)) {
    std::fprintf(stderr, "%s failed (status %d)\n", argv[0], status);
    std::exit(2);
  }
  return {elapsed.count(), usage.ru_maxrss};
}

template <typename T>
T median(std::vector<T> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int usage() {
  std::fprintf(
      stderr,
      "usage: process_pairs NAME PAIRS [--copy FILE] [--floor-copy FILE] [--against LABEL] "
      "[--status N] -- PROGRAM ARGS... -- FLOOR ARGS...\n");
  return 2;
}

}  // namespace
}  // namespace tracciato::bench

int main(int argc, char** argv) {
  using namespace tracciato::bench;
  if (argc < 3) return usage();
  const std::string name = argv[1];
  const int pairs = std::atoi(argv[2]);
  std::filesystem::path copy, floor_copy;
  std::string against;
  int ok_status = 0;
  int i = 3;
  for (; i + 1 < argc && std::string(argv[i]) != "--"; i += 2) {
    const std::string option = argv[i];
    if (option == "--copy") {
      copy = argv[i + 1];
    } else if (option == "--floor-copy") {
      floor_copy = argv[i + 1];
    } else if (option == "--against") {
      against = argv[i + 1];
    } else if (option == "--status") {
      ok_status = std::atoi(argv[i + 1]);
    } else {
      return usage();
    }
  }
  if (!floor_copy.empty() && floor_copy.filename() != copy.filename()) return usage();
  Command commands[2];
  int which = -1;
  for (; i < argc; ++i) {
    if (std::string(argv[i]) == "--" && which < 1) {
      which += 1;
    } else if (which >= 0) {
      commands[which].args.push_back(argv[i]);
    } else {
      return usage();
    }
  }
  if (pairs < 1 || commands[0].args.empty() || commands[1].args.empty()) return usage();

  BenchFolder work;
  int folder_count = 0;
  // A new empty folder, the previous runs' removed first, all outside the
  // timing: removing a file whose pages are still being written out waits
  // for the disk and would blur the figures.
  auto fresh = [&](bool for_floor) {
    const std::filesystem::path dir = work / ("run" + std::to_string(folder_count++));
    std::filesystem::create_directories(dir);
    const std::filesystem::path& file = for_floor && !floor_copy.empty() ? floor_copy : copy;
    if (!file.empty()) std::filesystem::copy_file(file, dir / file.filename());
    return dir;
  };
  const std::string copied = copy.empty() ? std::string() : copy.filename().string();

  // A child's peak memory includes what the timer held when it started the
  // child: a program that does nothing shows that share.
  const Measure idle = run(Command{{"/bin/true"}}, work.path(), 0);

  std::vector<double> ratios, program_ms, floor_ms;
  std::vector<long> program_kb, floor_kb;
  for (int pair = 0; pair < pairs; ++pair) {
    const std::filesystem::path dirs[2] = {fresh(false), fresh(true)};
    Measure m[2];
    // Alternate which goes first, so neither always meets a warmer cache.
    for (int k = 0; k < 2; ++k) {
      const int c = pair % 2 == 0 ? k : 1 - k;
      // Every run starts from a disk with nothing left to write: otherwise
      // a run that flushes its files also pays for what the run before it
      // left in the cache, and a floor that never flushes leaves the most.
      ::sync();
      m[c] = run(commands[c], dirs[c], ok_status);
    }
    if (pair == 0 && against.empty() && !same_files(dirs[0], dirs[1], copied)) {
      std::fprintf(stderr, "%s: the floor does not write the program's bytes\n", name.c_str());
      return 2;
    }
    ratios.push_back(m[0].seconds / m[1].seconds);
    program_ms.push_back(m[0].seconds * 1e3);
    floor_ms.push_back(m[1].seconds * 1e3);
    program_kb.push_back(m[0].peak_kb);
    floor_kb.push_back(m[1].peak_kb);
    for (const auto& d : dirs) std::filesystem::remove_all(d);
  }
  const char* floor_label = against.empty() ? "floor" : against.c_str();
  std::printf(
      "%-34s %3d pairs  program %8.3f ms  %s %8.3f ms  ratio %5.2fx (min %5.2fx, max %5.2fx)"
      "  peak memory %5.1f MB (%s %5.1f MB, /bin/true %4.1f MB)\n",
      name.c_str(), pairs, median(program_ms), floor_label, median(floor_ms), median(ratios),
      *std::min_element(ratios.begin(), ratios.end()),
      *std::max_element(ratios.begin(), ratios.end()),
      static_cast<double>(median(program_kb)) / 1024.0, floor_label,
      static_cast<double>(median(floor_kb)) / 1024.0, static_cast<double>(idle.peak_kb) / 1024.0);
  return 0;
}
