// compile --watch as an author lives it: a compile, a save that breaks the
// scenario (the files of the first compile stay whole), a save that mends it
// (the files are replaced, all three).
#include "tools/compile_watch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "platform/file_replace.h"
#include "support/temp_folder.h"
#include "tools/author_compile.h"
#include "tools/compile_fixtures.h"

namespace tracciato {
namespace {

using test_support::TempFolder;

// Saved as editors save: a new file renamed over the old one.
void save(const std::filesystem::path& file, std::string_view text) {
  const std::filesystem::path saving = file.string() + ".saving";
  replace_file(saving, std::string(text));
  std::filesystem::rename(saving, file);
}

std::map<std::string, std::string> files_in(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = read_file(entry.path());
  }
  return files;
}

TEST(CompileWatch, ABreakingSaveKeepsThePreviousFilesWholeAndTheNextGoodSaveReplacesThem) {
  TempFolder dir;
  const std::filesystem::path line = dir / "T_linea.txt";
  const std::filesystem::path train = dir / "T_1-.txt";
  save(line, test_support::kLine);
  save(train, test_support::kTrain);
  CompileArguments args;
  args.line_file = line.string();
  args.train_file = train.string();
  args.out_dir = (dir / "out").string();

  // The signal moved from 1000 to 1500 m: a scenario of other bytes.
  const std::string mended = "[generale]\r\nsegnale, 1500, 1, 5, 6, 0, 0, 1, 3,1,0, 0\r\n\r\n";
  std::vector<CompileRun> runs;
  std::map<std::string, std::string> first_files;
  bool kept_whole = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  const auto keep_watching = [&] {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "the watch did not see the saves; runs: " << runs.size();
      return false;
    }
    if (runs.size() == 1 && first_files.empty()) {
      first_files = files_in(dir / "out");
      save(train, test_support::kTrainSignalClash);
    } else if (runs.size() == 2 && !kept_whole) {
      kept_whole = true;
      EXPECT_EQ(files_in(dir / "out"), first_files);
      save(train, mended);
    }
    return runs.size() < 3;
  };
  run_compile_watch(args, {"T", "1"}, keep_watching,
                    [&](const CompileRun& run) { runs.push_back(run); });

  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].status, 0);
  EXPECT_EQ(runs[0].written, (std::vector<std::string>{"T_linea.dat", "T_1.sim", "T_1.dat"}));
  EXPECT_EQ(runs[1].status, 1);
  EXPECT_TRUE(runs[1].written.empty());
  EXPECT_EQ(runs[2].status, 0);
  EXPECT_EQ(runs[2].written.size(), 3u);
  EXPECT_TRUE(kept_whole);

  // The files are those of the mended descriptions, and nothing else is left.
  TempFolder expected;
  compile_author_scenario({line, train, std::string(test_support::kLine), mended},
                          {.line_name = "T", .train_number = "1", .out_dir = expected.path()});
  EXPECT_EQ(files_in(dir / "out"), files_in(expected.path()));
  EXPECT_NE(files_in(dir / "out"), first_files);
}

}  // namespace
}  // namespace tracciato
