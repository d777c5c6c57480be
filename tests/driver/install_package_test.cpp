// The install package as its users run it: the program alone in a folder, no
// display, no arguments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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
