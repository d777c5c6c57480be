// The author's commands inspect, lint and plot, run as an author runs them:
// a child process in a folder of its own, from the embedded scenario's files.
#include <gtest/gtest.h>

#include "description_folder.h"
#include "text/windows1252.h"

namespace tracciato {
namespace {

using test_support::kLine;
using test_support::kTrain;
using test_support::ProgramRun;

// A folder with the embedded scenario's descriptions.
class AuthorCommand : public test_support::DescriptionFolder {
 protected:
  void misspell_first_signal() {
    std::string train = read_file(folder_ / kTrain);
    train.replace(train.find("segnale,    1850"), 7, "segnalle");
    replace_file(folder_ / kTrain, train);
  }
};

TEST_F(AuthorCommand, LintPrintsNothingForTheEmbeddedScenarioAndWritesNothing) {
  const auto before = folder_.files();
  const ProgramRun lint = run({"lint", kLine, kTrain});
  EXPECT_EQ(lint.status, 0) << lint.err;
  EXPECT_EQ(lint.out, "");
  EXPECT_EQ(folder_.files(), before);
}

TEST_F(AuthorCommand, LintWarnsAboutAMisspelledKeyOnStandardError) {
  misspell_first_signal();
  const ProgramRun lint = run({"lint", kLine, kTrain});
  // A warning alone fails only under --strict.
  EXPECT_EQ(lint.status, 0) << lint.err;
  EXPECT_EQ(lint.out, "");
  EXPECT_EQ(
      lint.err,
      "Tarvo_Belmira_7351-.txt:25:1: warning: key field 'segnalle' matches no key and starts no "
      "record; did you mean 'segnale'?\n"
      "segnalle,    1850,   1, 5, 6,  0, 0,    1,  3,1,0, 0\n"
      "^\n"
      "1 warning\n");
  EXPECT_EQ(run({"lint", kLine, kTrain, "--strict"}).status, 1);

  const ProgramRun json = run({"lint", kLine, kTrain, "--json", "--strict"});
  EXPECT_EQ(json.status, 1);
  EXPECT_EQ(json.err, "");
  EXPECT_EQ(json.out,
            "{\"warnings\":[{\"severity\":\"warning\",\"code\":null,"
            "\"file\":\"Tarvo_Belmira_7351-.txt\",\"line\":25,\"column\":1,\"position\":null,"
            "\"message\":\"key "
            "field 'segnalle' matches no key and starts no record; did you mean "
            "'segnale'?\",\"notes\":[]}],\"compile\":{"
            "\"error_code\":0,\"error_position\":0,\"stop\":null,\"file\":null,\"line\":null,"
            "\"column\":null,"
            "\"message\":null,\"written\":[],\"diagnostics\":[]},\"status\":1}\n");
}

// lint --fix changes the bytes of the mistyped key and no other, in the
// file's own encoding, and tells what it changed.
TEST_F(AuthorCommand, LintFixMendsTheMistypedKeyAndNothingElse) {
  const std::string original = file(kTrain);
  const std::string line = file(kLine);
  struct Case {
    const char* name;
    std::string saved;  // the train as the author saved it
    std::vector<std::string> options;
    std::string expected;
  } cases[] = {
      {"Windows-1252", original, {}, original},
      // UTF-8 with its byte-order mark and a name outside ASCII.
      {"UTF-8",
       "\xEF\xBB\xBF" + original + "- citt\xC3\xA0\r\n",
       {"--encoding", "utf-8"},
       "\xEF\xBB\xBF" + original + "- citt\xC3\xA0\r\n"},
  };
  for (const Case& c : cases) {
    // --encoding is both descriptions'.
    replace_file(folder_ / kLine, c.options.empty() ? line : windows1252_to_utf8(line));
    std::string typo = c.saved;
    typo.replace(typo.find("segnale,    1850"), 7, "segnalle");
    replace_file(folder_ / kTrain, typo);
    std::vector<std::string> args = {"lint", kLine, kTrain, "--fix"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ProgramRun fixed = run(args);
    EXPECT_EQ(fixed.status, 0) << c.name << fixed.err;
    EXPECT_EQ(fixed.err,
              "Tarvo_Belmira_7351-.txt:25:1: fixed: 'segnalle' is now 'segnale'\n"
              "tracciato lint: 1 field fixed; what is left follows\n")
        << c.name;
    EXPECT_EQ(file(kTrain), c.expected) << c.name;
    // Nothing is left to fix, and the file is left alone.
    EXPECT_EQ(run(args).err, "tracciato lint: nothing to fix\n") << c.name;
    EXPECT_EQ(file(kTrain), c.expected) << c.name;
  }
  replace_file(folder_ / kTrain, original);
  replace_file(folder_ / kLine, line);
}

// The compile ends at its error; lint reads on, and the typo after the
// error is reported in its place.
TEST_F(AuthorCommand, LintReadsOnPastTheCompileErrorWithStatusOne) {
  replace_file(folder_ / kTrain,
               "[generale]\r\nstazione, 1025, 12, 500, 0,0,0, 0,0,0, 0,0,0, 0, 13,0,0, A\r\n"
               "sabia, 300\r\n\r\n");
  const ProgramRun lint = run({"lint", kLine, kTrain});
  EXPECT_EQ(lint.status, 1);
  EXPECT_EQ(lint.out, "");
  EXPECT_EQ(lint.err,
            "Tarvo_Belmira_7351-.txt:2:11: error: 8 at 1025 m: the station's position is not a "
            "multiple of 50 "
            "metres\n"
            "stazione, 1025, 12, 500, 0,0,0, 0,0,0, 0,0,0, 0, 13,0,0, A\n"
            "          ^\n"
            "Tarvo_Belmira_7351-.txt:3:1: warning: key field 'sabia' matches no key and starts no "
            "record; did you mean 'sabbia'?\n"
            "sabia, 300\n"
            "^\n"
            "1 error, 1 warning\n");
  EXPECT_EQ(run({"lint", kLine, "missing-.txt"}).status, 4);
}

// The compiled cell file shows the signal the typo dropped: cell 38 is empty.
TEST_F(AuthorCommand, InspectShowsTheCompiledCellsOfARange) {
  misspell_first_signal();
  ASSERT_EQ(run({"compile", kLine, kTrain}).status, 0);
  const ProgramRun inspect = run({"inspect", "Tarvo_Belmira_7351.dat", "--cells", "37..39"});
  EXPECT_EQ(inspect.status, 0) << inspect.err;
  EXPECT_EQ(inspect.out,
            "cell file: 781 cells, 0 to 780\n"
            " cell  from_m kind  val_1  val_2  val_3  val_4 time appr span km/h grad adh  object\n"
            "   37    1800   14     78      0      0      0    0    0    0   75   -8 100  "
            "indication sign: sign entry 78\n"
            "   38    1850    0      0      0      0      0    0    0    2  135   -8 100\n"
            "   39    1900    6   2525   2727   2727      0    0    0    0  135   -8 100  speed "
            "indicators: A 125/125, B 135/135, C 135/135 km/h, stripes 0/0\n");
}

TEST_F(AuthorCommand, InspectRefusesAFileThatDoesNotFitItsFormat) {
  ASSERT_EQ(run({"compile", kLine, kTrain}).status, 0);
  std::string cells = read_file(folder_ / "Tarvo_Belmira_7351.dat");
  cells.pop_back();
  replace_file(folder_ / "Tarvo_Belmira_7351.dat", cells);
  const ProgramRun inspect = run({"inspect", "Tarvo_Belmira_7351.dat"});
  EXPECT_EQ(inspect.status, 3);
  EXPECT_EQ(inspect.out, "");
  EXPECT_EQ(inspect.err,
            "tracciato inspect: Tarvo_Belmira_7351.dat: not a cell file: 11714 bytes are not whole "
            "15-byte cell "
            "records (780 records and 14 bytes left over)\n");

  const ProgramRun range = run({"inspect", "Tarvo_Belmira_7351.sim", "--cells", "9..3"});
  EXPECT_EQ(range.status, 2);
  EXPECT_EQ(range.err,
            "tracciato inspect: --cells 9..3: expected A..B, whole numbers from A up to B\n");
}

TEST_F(AuthorCommand, PlotWritesOneSvgFile) {
  const ProgramRun plot = run({"plot", kLine, kTrain, "--out", "route.svg"});
  EXPECT_EQ(plot.status, 0) << plot.err;
  EXPECT_EQ(plot.out, "route.svg\n");
  const std::string svg = read_file(folder_ / "route.svg");
  EXPECT_TRUE(svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "));
  EXPECT_EQ(folder_.files().size(), 3u);
}

TEST_F(AuthorCommand, PlotDrawsNothingForAScenarioThatDoesNotCompile) {
  replace_file(folder_ / kTrain,
               "[generale]\r\nstazione, 1025, 12, 500, 0,0,0, 0,0,0, 0,0,0, 0, 13,0,0, A\r\n\r\n");
  const ProgramRun plot = run({"plot", kLine, kTrain, "--out", "route.svg"});
  EXPECT_EQ(plot.status, 1);
  EXPECT_EQ(plot.err,
            "Tarvo_Belmira_7351-.txt:2:11: error: 8 at 1025 m: the station's position is not a "
            "multiple of 50 "
            "metres\n"
            "stazione, 1025, 12, 500, 0,0,0, 0,0,0, 0,0,0, 0, 13,0,0, A\n"
            "          ^\n"
            "1 error\n");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "route.svg"));
}

TEST_F(AuthorCommand, PlotNeverReplacesADescription) {
  const std::string line = read_file(folder_ / kLine);
  const ProgramRun plot = run({"plot", kLine, kTrain, "--out", kLine});
  EXPECT_EQ(plot.status, 4);
  EXPECT_EQ(
      plot.err,
      "tracciato plot: Tarvo_Belmira_linea.txt: is a description being drawn; not replaced\n");
  EXPECT_EQ(read_file(folder_ / kLine), line);
}

// A drawing that cannot be written says why and what to do.
TEST_F(AuthorCommand, PlotIntoAMissingFolderSaysToMakeIt) {
  const ProgramRun plot = run({"plot", kLine, kTrain, "--out", "missing/route.svg"});
  EXPECT_EQ(plot.status, 4);
  EXPECT_EQ(plot.err,
            "tracciato plot: cannot write missing/route.svg: No such file or directory; make sure "
            "the folder missing exists and run tracciato plot again\n");
}

}  // namespace
}  // namespace tracciato
