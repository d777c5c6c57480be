// An author who compiles the example with `tracciato compile` gets the very
// files the install package writes: same parser, same passes, same bytes.
#include <gtest/gtest.h>

#include "folder_files.h"
#include "support/temp_folder.h"
#include "tool_process.h"

namespace tracciato {
namespace {

using namespace test_support;

TEST(PackageEquivalence, CompilingTheExampleGivesTheInstallPackagesBytes) {
  TempFolder package;
  const std::filesystem::path program = package / "Tarvo_Belmira_7351";
  std::filesystem::copy_file(INSTALL_PACKAGE_PATH, program);
  // The package writes beside itself.
  RunOptions headless;
  headless.without_display = true;
  const ProgramRun installed = run_program(program, {}, package.path(), headless);
  ASSERT_EQ(installed.status, 0) << installed.err;

  TempFolder author;
  ASSERT_EQ(run_tracciato(author.path(), {"example"}).status, 0);
  const ProgramRun compiled = run_tracciato(
      author.path(),
      {"compile", "Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", "--out", "out"});
  ASSERT_EQ(compiled.status, 0) << compiled.err;

  const auto expected = package.files();
  const auto written = files_in(author / "out");
  ASSERT_EQ(written.size(), 3u);
  for (const auto& [name, bytes] : written) {
    ASSERT_TRUE(expected.count(name)) << name;
    EXPECT_TRUE(bytes == expected.at(name)) << name << " differs from the package's";
  }
  // The documents the example gives the author are the package's too.
  const auto example = author.files();
  for (const char* name : {"Tarvo_Belmira_7351_note.txt", "Tarvo_Belmira_7351_rallentamenti.txt",
                           "Tarvo_Belmira_7351_scheda_treno.txt"}) {
    ASSERT_TRUE(expected.count(name) && example.count(name)) << name;
    EXPECT_TRUE(example.at(name) == expected.at(name)) << name;
  }
}

}  // namespace
}  // namespace tracciato
