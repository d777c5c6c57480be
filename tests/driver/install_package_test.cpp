// The install package as its users run it: the program alone in a folder, no
// display, no arguments.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "package/payload.h"
#include "support/temp_folder.h"

namespace tracciato {
namespace {

using test_support::TempFolder;

constexpr const char* kProgram = "Tarvo_Belmira_7351";
constexpr const char* kLoaderLog = "loader.log";

enum class Display { kNone, kInherited };

// Copies the package alone into `folder` and runs it there, by default
// without a display. The dynamic loader's list of the libraries it loads goes
// to a log beside it.
int run_package(const TempFolder& folder, Display display = Display::kNone) {
  const auto copy = std::filesystem::copy_options::overwrite_existing;
  std::filesystem::copy_file(INSTALL_PACKAGE_PATH, folder / kProgram, copy);
  std::string command = "LD_DEBUG=libs LD_DEBUG_OUTPUT='" + (folder / kLoaderLog).string() + "' '" +
                        (folder / kProgram).string() + "' 2>&1";
  if (display == Display::kNone) command = "env -u DISPLAY " + command;
  return std::system(command.c_str());
}

// The loader writes its log as NAME.PID.
std::string loader_log(const TempFolder& folder) {
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    if (entry.path().filename().string().rfind(kLoaderLog, 0) == 0) log += read_file(entry.path());
  }
  return log;
}

std::map<std::string, std::string> output_files(const TempFolder& folder) {
  auto files = folder.files();
  files.erase(kProgram);
  std::erase_if(files, [](const auto& file) { return file.first.rfind(kLoaderLog, 0) == 0; });
  return files;
}

TEST(InstallPackage, LeavesExactlyTheThreeDocumentsAndTheThreeScenarioFiles) {
  TempFolder folder;
  ASSERT_EQ(run_package(folder), 0);
  const auto files = output_files(folder);
  const struct {
    const char* name;
    size_t size;
  } expected[] = {
      {"Tarvo_Belmira_7351.dat", 11715},
      {"Tarvo_Belmira_7351_rallentamenti.txt", 1698},
      {"Tarvo_Belmira_7351_scheda_treno.txt", 2711},
      {"Tarvo_Belmira_linea.dat", 779964},
  };
  for (const auto& e : expected) {
    ASSERT_TRUE(files.count(e.name)) << e.name;
    EXPECT_EQ(files.at(e.name).size(), e.size) << e.name;
  }
  // 87 records of 34 bytes plus every name: the line's, the train's, then the
  // stations' and signs'.
  ASSERT_TRUE(files.count("Tarvo_Belmira_7351.sim"));
  EXPECT_GT(files.at("Tarvo_Belmira_7351.sim").size(), 2958u + 13 + 4);
  EXPECT_TRUE(files.count("Tarvo_Belmira_7351_note.txt"));
  EXPECT_EQ(files.size(), 6u);
}

TEST(InstallPackage, ASecondRunReplacesEveryFileWhole) {
  TempFolder first;
  ASSERT_EQ(run_package(first), 0);
  const auto reference = output_files(first);

  // The earlier files are longer than the new ones: the documents and the
  // cell and track files of a longer line (empty cells and entries after
  // the new ones), the item file with other values.
  TempFolder second;
  for (const auto& [name, bytes] : reference) {
    std::string earlier = bytes;
    if (name.ends_with(".txt")) earlier = std::string(1 << 20, 'x');
    if (name.ends_with(".dat")) earlier += std::string(15 * 2 * 10000, '\0');
    if (name.ends_with(".sim")) earlier[1] ^= 1;
    replace_file(second / name, earlier);
  }
  ASSERT_EQ(run_package(second), 0);
  EXPECT_EQ(output_files(second), reference);
}

// Runs the package of `folder` as the system starts a program: no shell
// that would take a file that is no program for a script. Standard error goes
// to stderr.txt; a run that does not end within 20 s is killed.
int run_directly(const TempFolder& folder) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(folder.path().c_str()) != 0) _exit(127);
    if (!freopen("/dev/null", "w", stdout) || !freopen("stderr.txt", "w", stderr)) _exit(127);
    unsetenv("DISPLAY");
    char* argv[] = {const_cast<char*>(kProgram), nullptr};
    execv(kProgram, argv);
    _exit(126);  // not a program the system can start
  }
  int status = 0;
  for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; ++waited) {
    if (waited == 2000) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    usleep(10000);
  }
  return status;
}

// A package damaged on its way: cut short anywhere, or one bit changed
// anywhere, program included. It never installs and never writes a file.
// Wherever its program can still run it says it is damaged (status 3): a
// cut within the program, or a bit changed in the code that starts it, can
// end it before it can say anything, but all damage after the program is
// reported, and nearly all within it. The number of
// places tried over the whole file is TRACCIATO_DAMAGE_TRIES for each (40 by
// default), and a tenth as many again within the payload.
TEST(InstallPackage, ADamagedDownloadWritesNothingAndSaysSoWhereverItCanRun) {
  const std::string good = read_file(INSTALL_PACKAGE_PATH);
  const auto contents = decode_package(good);
  ASSERT_TRUE(std::holds_alternative<PackageContents>(contents));
  const size_t program_size = std::get<PackageContents>(contents).stub_size;
  const char* tries_text = std::getenv("TRACCIATO_DAMAGE_TRIES");
  const size_t tries = tries_text ? std::strtoul(tries_text, nullptr, 10) : 40;
  // Places over the whole file, then over what follows the program.
  std::vector<size_t> places;
  for (size_t i = 0; i < tries; ++i) places.push_back(1 + i * (good.size() - 1) / tries + i % 7);
  const size_t after_the_program = good.size() - program_size;
  for (size_t i = 0; i < tries / 10 + 1; ++i) {
    places.push_back(program_size + i * after_the_program / (tries / 10 + 1));
  }
  // How the runs that did not say so ended: the system could not start the
  // program (status 126 from the child), a signal ended it, or another status.
  struct Tally {
    int tried = 0, said_damaged = 0, exited_well = 0, wrote = 0;
    int tried_after_the_program = 0, said_after_the_program = 0;
    int not_started = 0, signalled = 0, other_status = 0;
  } cut, flipped;
  // The places of flipped bits that were not reported, with their wait status.
  std::string silent_flips;
  for (const size_t at : places) {
    for (const bool flip : {false, true}) {
      std::string damaged = flip ? good : good.substr(0, at);
      if (flip) damaged[at] ^= static_cast<char>(1 << (at % 8));
      TempFolder folder;
      replace_file(folder / kProgram, damaged);
      std::filesystem::permissions(folder / kProgram, std::filesystem::perms::owner_all);
      const int status = run_directly(folder);
      const std::string said = read_file(folder / "stderr.txt");
      Tally& tally = flip ? flipped : cut;
      ++tally.tried;
      const bool spoke = WIFEXITED(status) && WEXITSTATUS(status) == 3 &&
                         said.find("this package is damaged") != std::string::npos;
      const bool exited_well = WIFEXITED(status) && WEXITSTATUS(status) == 0;
      auto files = folder.files();
      files.erase(kProgram);
      files.erase("stderr.txt");
      tally.said_damaged += spoke;
      tally.exited_well += exited_well;
      tally.wrote += !files.empty();
      if (at >= program_size) {
        ++tally.tried_after_the_program;
        tally.said_after_the_program += spoke;
      }
      if (!spoke) {
        if (flip) silent_flips += " " + std::to_string(at) + " (" + std::to_string(status) + ")";
        if (WIFEXITED(status) && WEXITSTATUS(status) == 126) {
          ++tally.not_started;
        } else if (WIFSIGNALED(status)) {
          ++tally.signalled;
        } else {
          ++tally.other_status;
        }
      }
      const std::string where = (flip ? "bit flipped at " : "cut at ") + std::to_string(at);
      EXPECT_FALSE(exited_well) << where;
      EXPECT_TRUE(files.empty()) << where << ": wrote " << files.begin()->first;
      if (at >= program_size) {
        EXPECT_TRUE(spoke) << where << ": " << status << said;
      }
    }
  }
  std::printf("the program is the first %zu of the package's %zu bytes\n", program_size,
              good.size());
  for (const auto* t : {&cut, &flipped}) {
    std::printf(
        "%s: %d tried, %d said they were damaged, %d exited 0, %d wrote a file; after the "
        "program %d tried, %d said so; of the silent, %d could not start, %d ended by a signal, "
        "%d ended with another status\n",
        t == &cut ? "cut short" : "one bit flipped", t->tried, t->said_damaged, t->exited_well,
        t->wrote, t->tried_after_the_program, t->said_after_the_program, t->not_started,
        t->signalled, t->other_status);
  }
  std::printf("bits flipped without a word, at (wait status):%s\n", silent_flips.c_str());
}

// The package is one file: with a display it loads the window it carries
// (and FLTK with it), without one no window library at all.
TEST(InstallPackage, LoadsTheWindowItCarriesOnlyWithADisplay) {
  TempFolder headless;
  ASSERT_EQ(run_package(headless), 0);
  EXPECT_EQ(loader_log(headless).find("libfltk"), std::string::npos) << loader_log(headless);

  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || display[0] == '\0') GTEST_SKIP() << "no display";
#ifndef TRACCIATO_WITH_WINDOW
  GTEST_SKIP() << "built without the window";
#endif
  TempFolder shown;
  ASSERT_EQ(run_package(shown, Display::kInherited), 0);
  EXPECT_NE(loader_log(shown).find("libfltk"), std::string::npos) << loader_log(shown);
  EXPECT_EQ(output_files(shown), output_files(headless));
}

}  // namespace
}  // namespace tracciato
