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
constexpr const char* kModule = "tracciato_desktop_fltk.so";
#ifdef DESKTOP_MODULE_PATH
constexpr const char* kModulePath = DESKTOP_MODULE_PATH;
#else
constexpr const char* kModulePath = nullptr;  // built without the window
#endif

enum class Display { kNone, kInherited };

// Copies the package into `folder` and runs it there, by default without a
// display. With one, its window module goes beside it, as it is shipped.
int run_package(const TempFolder& folder, Display display = Display::kNone) {
  const auto copy = std::filesystem::copy_options::overwrite_existing;
  std::filesystem::copy_file(INSTALL_PACKAGE_PATH, folder / kProgram, copy);
  std::string command = "'" + (folder / kProgram).string() + "' 2>&1";
  if (display == Display::kNone) {
    command = "env -u DISPLAY " + command;
  } else {
    std::filesystem::copy_file(kModulePath, folder / kModule, copy);
  }
  return std::system(command.c_str());
}

std::map<std::string, std::string> output_files(const TempFolder& folder) {
  auto files = folder.files();
  files.erase(kProgram);
  files.erase(kModule);
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

  TempFolder second;
  const std::string junk(1 << 20, 'x');  // longer than any file of the run
  for (const auto& [name, bytes] : reference) replace_file(second / name, junk);
  ASSERT_EQ(run_package(second), 0);
  EXPECT_EQ(output_files(second), reference);
}

TEST(InstallPackage, WithADisplayItLoadsItsWindowAndWritesTheSameFiles) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || display[0] == '\0') GTEST_SKIP() << "no display";
  if (kModulePath == nullptr) GTEST_SKIP() << "built without the window";
  TempFolder headless;
  ASSERT_EQ(run_package(headless), 0);
  TempFolder shown;
  ASSERT_EQ(run_package(shown, Display::kInherited), 0);
  EXPECT_EQ(output_files(shown), output_files(headless));
}

}  // namespace
}  // namespace tracciato
