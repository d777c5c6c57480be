// The commands decompile and diff, run as an author runs them: a child
// process in a folder of its own, from the embedded scenario's files.
#include <gtest/gtest.h>

#include "description_folder.h"

namespace tracciato {
namespace {

using test_support::kLine;
using test_support::kTrain;
using test_support::ProgramRun;

constexpr const char* kCells = "bin/Tarvo_Belmira_7351.dat";
constexpr const char* kItems = "bin/Tarvo_Belmira_7351.sim";
constexpr const char* kTrack = "bin/Tarvo_Belmira_linea.dat";

// A folder with the embedded scenario's descriptions and, in bin/, the
// files they compile to.
class DecompileCommand : public test_support::DescriptionFolder {
 protected:
  DecompileCommand() { EXPECT_EQ(run({"compile", kLine, kTrain, "--out", "bin"}).status, 0); }
};

TEST_F(DecompileCommand, WritesDescriptionsThatCompileToTheSameFiles) {
  const ProgramRun decompile = run({"decompile", "bin", "--out", "back"});
  EXPECT_EQ(decompile.status, 0) << decompile.err;
  EXPECT_EQ(decompile.out, "back/Tarvo_Belmira_linea.txt\nback/Tarvo_Belmira_7351-.txt\n");
  EXPECT_EQ(decompile.err, "");
  ASSERT_EQ(run({"compile", "back/Tarvo_Belmira_linea.txt", "back/Tarvo_Belmira_7351-.txt", "--out",
                 "again"})
                .status,
            0);
  for (const char* name :
       {"Tarvo_Belmira_7351.dat", "Tarvo_Belmira_7351.sim", "Tarvo_Belmira_linea.dat"}) {
    EXPECT_TRUE(file(std::string("bin/") + name) == file(std::string("again/") + name)) << name;
  }
  // The files named one by one give the same; without the track file, the
  // descriptions of a compile without it.
  EXPECT_EQ(run({"decompile", kCells, kItems, kTrack, "--out", "named"}).status, 0);
  EXPECT_EQ(file("named/Tarvo_Belmira_7351-.txt"), file("back/Tarvo_Belmira_7351-.txt"));
  EXPECT_EQ(run({"decompile", kCells, kItems, "--out", "no_track"}).status, 0);
  EXPECT_EQ(file("no_track/Tarvo_Belmira_linea.txt").find("curva"), std::string::npos);
}

TEST_F(DecompileCommand, WritesNothingForBytesNoDescriptionGivesAndNamesEachField) {
  std::string cells = file(kCells);
  cells[200 * 15] = 9;      // the kind of cell 200
  cells[100 * 15 + 3] = 7;  // value_2 of cell 100, which holds no object
  replace_file(folder_ / kCells, cells);
  const ProgramRun decompile = run({"decompile", "bin", "--out", "back"});
  EXPECT_EQ(decompile.status, 1);
  EXPECT_EQ(decompile.out, "");
  EXPECT_EQ(decompile.err,
            "bin/Tarvo_Belmira_7351.dat:byte 1500: cell 100 (4950 m) kind = 0: the cell holds "
            "values but no object: no record leaves values without the object they belong to\n"
            "bin/Tarvo_Belmira_7351.dat:byte 1503: cell 100 (4950 m) value_2 = 7: no description "
            "gives it: the closest descriptions give 0\n"
            "bin/Tarvo_Belmira_7351.dat:byte 3000: cell 200 (9950 m) kind = 9: no record places a "
            "cell of kind 9\n"
            "tracciato decompile: 3 fields no description gives; nothing written\n");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "back"));

  const ProgramRun json = run({"decompile", "bin", "--out", "back", "--json"});
  EXPECT_EQ(json.status, 1);
  EXPECT_EQ(json.err, "");
  EXPECT_TRUE(json.out.starts_with(
      "{\"proven\":false,\"line_name\":\"Tarvo_Belmira\",\"train_number\":\"7351\",\"reading\":"
      "null,\"written\":[],\"refusals\":[{\"file\":\"bin/Tarvo_Belmira_7351.dat\",\"kind\":"
      "\"cell\",\"record\":100,\"place\":\"cell 100 (4950 m)\",\"field\":\"kind\",\"offset\":"
      "1500,\"stored\":\"0\",\"why\":"))
      << json.out;
  EXPECT_FALSE(std::filesystem::exists(folder_ / "back"));
}

TEST_F(DecompileCommand, NeverReplacesADescriptionUnasked) {
  const ProgramRun decompile = run({"decompile", "bin"});
  EXPECT_EQ(decompile.status, 2);
  EXPECT_EQ(decompile.err,
            "tracciato decompile: ./Tarvo_Belmira_linea.txt: already exists; not replaced (--force "
            "replaces it)\n"
            "tracciato decompile: ./Tarvo_Belmira_7351-.txt: already exists; not replaced (--force "
            "replaces it)\n");
  EXPECT_EQ(file(kLine), render_document(line_description_document()));
  EXPECT_EQ(run({"decompile", "bin", "--force"}).status, 0);
}

TEST_F(DecompileCommand, RefusesWhatNamesNoScenario) {
  EXPECT_EQ(run({"decompile", "."}).status, 4);
  EXPECT_EQ(run({"decompile", "missing"}).status, 2);
  EXPECT_EQ(run({"decompile", kItems, kCells}).status, 3);
}

TEST_F(DecompileCommand, APackageGivesTheDescriptionsAndDocumentsItCarries) {
  const ProgramRun decompile = run({"decompile", INSTALL_PACKAGE_PATH, "--out", "docs"});
  EXPECT_EQ(decompile.status, 0) << decompile.err;
  ASSERT_EQ(run({"inspect", INSTALL_PACKAGE_PATH, "--extract", "extracted"}).status, 0);
  for (const char* name :
       {"Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", "Tarvo_Belmira_7351_note.txt",
        "Tarvo_Belmira_7351_rallentamenti.txt", "Tarvo_Belmira_7351_scheda_treno.txt"}) {
    EXPECT_EQ(file(std::string("docs/") + name), file(std::string("extracted/") + name)) << name;
  }
}

TEST_F(DecompileCommand, DiffSaysWhetherTwoScenariosDifferAndHow) {
  const ProgramRun same = run({"diff", "bin", kLine, kTrain});
  EXPECT_EQ(same.status, 2);  // two paths on one side, one on the other
  EXPECT_EQ(run({"diff", kLine, kTrain, kLine, kTrain}).status, 0);
  EXPECT_EQ(run({"diff", "bin", "bin"}).status, 0);

  // A folder of descriptions, one signal changed.
  const std::string signal = "segnale,    6850,   1, 4";
  std::string train = file(kTrain);
  train.replace(train.find(signal), signal.size(), "segnale,    6850,   1, 5");
  std::filesystem::create_directory(folder_ / "changed");
  replace_file(folder_ / "changed" / kTrain, train);
  replace_file(folder_ / "changed" / kLine, file(kLine));
  const ProgramRun diff = run({"diff", "bin", "changed"});
  EXPECT_EQ(diff.status, 1);
  EXPECT_EQ(diff.out, "signal at 6850 m: s1 4 \xE2\x86\x92 5\n");
  const ProgramRun json = run({"diff", kLine, kTrain, "changed/Tarvo_Belmira_linea.txt",
                               "changed/Tarvo_Belmira_7351-.txt", "--json"});
  EXPECT_EQ(json.status, 1);
  EXPECT_EQ(json.out,
            "{\"equal\":false,\"changes\":[{\"record\":\"signal at 6850 m\",\"field\":\"s1\","
            "\"from\":\"4\",\"to\":\"5\",\"text\":\"signal at 6850 m: s1 4 \xE2\x86\x92 5\"}]}\n");
}

}  // namespace
}  // namespace tracciato
