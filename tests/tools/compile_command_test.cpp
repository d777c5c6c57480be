// `tracciato compile` as an author runs it: the built program in a temporary
// folder, judged by its exit status, what it prints and the files it leaves.
#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "compile_fixtures.h"
#include "compiler/diagnostics.h"
#include "platform/file_replace.h"
#include "support/temp_folder.h"
#include "tool_process.h"

namespace tracciato {
namespace {

using namespace test_support;
using Files = std::set<std::string>;

const Files kAllThree = {"T_linea.dat", "T_1.sim", "T_1.dat"};
const Files kDescriptions = {"T_linea.txt", "T_1-.txt"};

// A temporary folder holding the scenario "T" as an author keeps it.
class ScenarioFolder {
 public:
  void write(const std::string& name, std::string_view text) { replace_file(folder_ / name, text); }

  void describe(std::string_view line, std::string_view train) {
    write("T_linea.txt", line);
    write("T_1-.txt", train);
  }

  ProgramRun compile(const std::vector<std::string>& extra = {}, const RunOptions& options = {}) {
    std::vector<std::string> args = {"compile", "T_linea.txt", "T_1-.txt"};
    args.insert(args.end(), extra.begin(), extra.end());
    return run_tracciato(folder_.path(), args, options);
  }

  // Every file of the folder but the two descriptions.
  Files outputs() const {
    Files names;
    for (const auto& [name, bytes] : folder_.files()) {
      if (!kDescriptions.count(name)) names.insert(name);
    }
    return names;
  }

  const TempFolder& folder() const { return folder_; }

 private:
  TempFolder folder_;
};

std::string message(int32_t code) { return std::string(error_message(code)); }

// What the clashes of the fixtures say, and the notes at what is in the way.
constexpr std::string_view kSignClash =
    "the indication sign's cell 11 (500 to 550 m) is already occupied by the indication sign "
    "`(A)`";
constexpr std::string_view kSignalClash =
    "the signal's cell 21 (1000 to 1050 m) is already occupied by a signal";
const std::string kSignClashNote =
    R"([{"file":"T_linea.txt","line":4,"column":1,"message":"the indication sign `(A)` was )"
    R"(placed by this record, at 500 m"}])";
const std::string kSignalClashNote =
    R"([{"file":"T_1-.txt","line":2,"column":1,"message":"a signal was placed by this record, )"
    R"(at 1000 m"}])";

TEST(CompileCommandStatus, EachOutcomeHasItsStatusAndWritesOnlyWhenItShould) {
  const struct {
    const char* what;
    std::string_view line;
    std::string_view train;
    std::vector<std::string> extra;
    int status;
    Files written;
  } cases[] = {
      {"clean", kLine, kTrain, {}, 0, kAllThree},
      {"clean, no track", kLine, kTrain, {"--no-track"}, 0, {"T_1.sim", "T_1.dat"}},
      {"line problem", kLineSignClash, kTrain, {}, 1, {}},
      {"train problem", kLine, kTrainSignalClash, {}, 1, {}},
      {"problem, keep going", kLine, kTrainSignalClash, {"--keep-going"}, 1, kAllThree},
      // A stop is a problem found in the descriptions, as an error is.
      {"stop 1250", kLine, kTrainReserved1250, {}, 1, {}},
      {"stop 1250, keep going", kLine, kTrainReserved1250, {"--keep-going"}, 1, {}},
      {"stop 1251", kLine, kTrainReserved1251, {}, 1, {}},
      {"no route, keep going", kLineTooLong, kTrain, {"--keep-going"}, 1, {}},
      {"unknown option", kLine, kTrain, {"--fast"}, 2, {}},
      {"unknown encoding", kLine, kTrain, {"--encoding", "latin-9"}, 2, {}},
  };
  for (const auto& c : cases) {
    ScenarioFolder test;
    test.describe(c.line, c.train);
    const ProgramRun run = test.compile(c.extra);
    EXPECT_EQ(run.status, c.status) << c.what << "\n" << run.err;
    EXPECT_EQ(test.outputs(), c.written) << c.what;
  }
}

TEST(CompileCommand, ALineProblemIsShownWithItsLineAndACaretUnderTheRecord) {
  ScenarioFolder s;
  s.describe(kLineSignClash, kTrain);
  const ProgramRun run = s.compile();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "T_linea.txt:5:24: error: 6 at 500 m: " + std::string(kSignClash) +
                "\n"
                "  cartello_indicatore, 500, (B)\n"
                "                       ^\n"
                "T_linea.txt:4:1: note: the indication sign `(A)` was placed by this record, at "
                "500 m\n"
                "cartello_indicatore, 500, (A)\n"
                "^\n"
                "1 error\n");
}

TEST(CompileCommand, ATrainProblemKeepsTheTabBeforeItsCaret) {
  ScenarioFolder s;
  s.describe(kLine, kTrainSignalClash);
  const ProgramRun run = s.compile();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "T_1-.txt:3:11: error: 16 at 1000 m: " + std::string(kSignalClash) +
                         "\n"
                         "\tsegnale, 1000, 1, 5, 6, 0, 0, 1, 3,1,0, 0\n"
                         "\t         ^\n"
                         "T_1-.txt:2:1: note: a signal was placed by this record, at 1000 m\n"
                         "segnale, 1000, 1, 5, 6, 0, 0, 1, 3,1,0, 0\n"
                         "^\n"
                         "1 error\n");
}

TEST(CompileCommand, AStopSaysWhyNothingWasWritten) {
  ScenarioFolder s;
  s.describe(kLine, kTrainReserved1250);
  const ProgramRun run = s.compile();
  EXPECT_EQ(run.status, 1);
  // The signal that fills the slot is also too near the start for its
  // approach codes: the warning comes first, the stop ends the messages.
  EXPECT_EQ(run.err,
            "T_1-.txt:2:1: warning: signal at 0 m stands within 350 m of the start: 4 of its 4 "
            "approach codes would fall before cell 0 and are cut off\n"
            "segnale, 0, 1, 5, 6, 0, 0, 1, 3,1,0, 0\n"
            "^\n"
            "tracciato: stop 1250: route cell 1 (objects from -24 to 24 m) or item 85 already "
            "holds a value where 610 and 5121 go; no file written\n"
            "1 error, 1 warning\n");
}

// A compile problem as the JSON diagnostics carry it.
std::string error_json(int code, std::string_view file, int line, int column, int position,
                       std::string_view sentence, std::string_view notes = "[]") {
  return R"({"severity":"error","code":)" + std::to_string(code) + R"(,"file":")" +
         std::string(file) + R"(","line":)" + std::to_string(line) + R"(,"column":)" +
         std::to_string(column) + R"(,"position":)" + std::to_string(position) + R"(,"message":")" +
         std::string(sentence) + R"(","notes":)" + std::string(notes) + "}";
}

// The warning a signal at 0 m gets, as the JSON diagnostics carry it.
const std::string kSignalAtStartJson =
    R"({"severity":"warning","code":null,"file":"T_1-.txt","line":2,"column":1,"position":null,)"
    R"("message":"signal at 0 m stands within 350 m of the start: 4 of its 4 approach codes )"
    R"(would fall before cell 0 and are cut off","notes":[]})";

TEST(CompileCommandJson, OneObjectWithTheOutcome) {
  const std::string all_three = R"(["T_linea.dat","T_1.sim","T_1.dat"])";
  const struct {
    const char* what;
    std::string_view line;
    std::string_view train;
    std::vector<std::string> extra;
    std::string expected;
  } cases[] = {
      {"clean",
       kLine,
       kTrain,
       {},
       R"({"error_code":0,"error_position":0,"stop":null,"file":null,"line":null,)"
       R"("column":null,"message":null,"written":)" +
           all_three + R"(,"diagnostics":[]})" + "\n"},
      {"problem",
       kLine,
       kTrainSignalClash,
       {},
       R"({"error_code":16,"error_position":1000,"stop":null,"file":"T_1-.txt","line":3,)"
       R"("column":11,"message":")" +
           std::string(kSignalClash) + R"(","written":[],"diagnostics":[)" +
           error_json(16, "T_1-.txt", 3, 11, 1000, kSignalClash, kSignalClashNote) + "]}\n"},
      {"problem, keep going",
       kLineSignClash,
       kTrain,
       {"--keep-going"},
       R"({"error_code":6,"error_position":500,"stop":null,"file":"T_linea.txt","line":5,)"
       R"("column":24,"message":")" +
           std::string(kSignClash) + R"(","written":)" + all_three + R"(,"diagnostics":[)" +
           error_json(6, "T_linea.txt", 5, 24, 500, kSignClash, kSignClashNote) + "]}\n"},
      {"stop 1250",
       kLine,
       kTrainReserved1250,
       {},
       R"({"error_code":0,"error_position":0,"stop":"1250","file":null,"line":null,)"
       R"("column":null,"message":null,"written":[],"diagnostics":[)" +
           kSignalAtStartJson + "]}\n"},
      {"stop 1251",
       kLine,
       kTrainReserved1251,
       {},
       R"({"error_code":0,"error_position":0,"stop":"1251","file":null,"line":null,)"
       R"("column":null,"message":null,"written":[],"diagnostics":[)" +
           kSignalAtStartJson + "]}\n"},
      {"no route",
       kLineTooLong,
       kTrain,
       {"--keep-going"},
       R"({"error_code":1,"error_position":0,"stop":"no-route","file":"T_linea.txt","line":2,)"
       R"("column":21,"message":")" +
           message(1) + R"(","written":[],"diagnostics":[)" +
           error_json(1, "T_linea.txt", 2, 21, 0, message(1)) + "]}\n"},
  };
  for (const auto& c : cases) {
    ScenarioFolder test;
    test.describe(c.line, c.train);
    std::vector<std::string> extra = c.extra;
    extra.push_back("--json");
    const ProgramRun run = test.compile(extra);
    EXPECT_EQ(run.out, c.expected) << c.what;
    // The JSON says it all: no text beside it on either stream.
    EXPECT_EQ(run.err, "") << c.what;
  }
}

TEST(CompileCommand, NamesGivenOnTheCommandLineNameTheFilesAndTheScenario) {
  ScenarioFolder s;
  s.write("line.txt", kLine);
  s.write("Nord_7-.txt", kTrain);
  const struct {
    std::vector<std::string> args;
    Files written;
    std::string train_number;
  } cases[] = {
      {{"compile", "line.txt", "Nord_7-.txt", "--line-name", "Nord", "--out", "a"},
       {"Nord_linea.dat", "Nord_7.sim", "Nord_7.dat"},
       "7"},
      {{"compile", "line.txt", "Nord_7-.txt", "--line-name", "Nord", "--train-number", "R 42",
        "--out", "b"},
       {"Nord_linea.dat", "Nord_R 42.sim", "Nord_R 42.dat"},
       "R 42"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = run_tracciato(s.folder().path(), c.args);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::filesystem::path out = s.folder() / c.args.back();
    Files written;
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
      written.insert(entry.path().filename().string());
    }
    EXPECT_EQ(written, c.written);
    // The item file carries both names, each after its 16-bit length.
    const std::string items = read_file(out / ("Nord_" + c.train_number + ".sim"));
    EXPECT_NE(items.find(std::string("\x04\x00Nord", 6)), std::string::npos);
    const std::string number =
        std::string(1, static_cast<char>(c.train_number.size())) + '\0' + c.train_number;
    EXPECT_NE(items.find(number), std::string::npos) << c.train_number;
  }
}

TEST(CompileCommand, ANameThatCannotBeTakenOrUsedIsAUsageError) {
  ScenarioFolder s;
  s.describe(kLine, kTrain);
  s.write("line.txt", kLine);
  s.write("train.txt", kTrain);
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"compile", "line.txt", "T_1-.txt"},
       "tracciato compile: cannot take the line name from 'line.txt' (not named "
       "<line>_linea.txt); give --line-name\n"},
      {{"compile", "T_linea.txt", "train.txt"},
       "tracciato compile: cannot take the train number from 'train.txt' (not named "
       "T_<train>-.txt); give --train-number\n"},
      {{"compile", "line.txt", "T_1-.txt", "--line-name", "U"},
       "tracciato compile: cannot take the train number from 'T_1-.txt' (not named "
       "U_<train>-.txt); give --train-number\n"},
      {{"compile", "T_linea.txt", "T_1-.txt", "--line-name", "../T"},
       "tracciato compile: --line-name: the name holds a path separator\n"},
      {{"compile", "T_linea.txt", "T_1-.txt", "--train-number", ""},
       "tracciato compile: --train-number: the name is empty\n"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = run_tracciato(s.folder().path(), c.args);
    EXPECT_EQ(run.status, 2) << c.args[1];
    EXPECT_EQ(run.err, c.err);
  }
  EXPECT_EQ(s.outputs(), (Files{"line.txt", "train.txt"}));
}

TEST(CompileCommand, AnInputOrOutputFailureNamesThePathAndTheReason) {
  ScenarioFolder s;
  s.write("T_1-.txt", kTrain);
  ProgramRun run = s.compile();
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.err, "tracciato compile: T_linea.txt: No such file or directory\n");

  s.write("T_linea.txt", kLine);
  s.write("blocker", "");
  run = s.compile({"--out", "blocker/out"});
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.err, "tracciato compile: blocker/out: Not a directory\n");
}

TEST(CompileCommand, TheOutputFolderIsCreatedWhenMissing) {
  ScenarioFolder s;
  s.describe(kLine, kTrain);
  const ProgramRun run = s.compile({"--out", "new/nested"});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const std::string& name : kAllThree) {
    EXPECT_TRUE(std::filesystem::is_regular_file(s.folder() / "new" / "nested" / name)) << name;
  }
}

TEST(CompileCommand, InputsKeepTheirBytesAndTimesWhateverTheOutcome) {
  ScenarioFolder s;
  const struct {
    std::string_view train;
    std::vector<std::string> extra;
  } cases[] = {
      {kTrain, {}},
      {kTrainSignalClash, {"--keep-going"}},
      {kTrainSignalClash, {}},
      {kTrainReserved1250, {}},
  };
  const auto long_ago =
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  for (const auto& c : cases) {
    s.describe(kLine, c.train);
    for (const std::string& name : kDescriptions) {
      std::filesystem::last_write_time(s.folder() / name, long_ago);
    }
    s.compile(c.extra);
    EXPECT_EQ(read_file(s.folder() / "T_linea.txt"), kLine);
    EXPECT_EQ(read_file(s.folder() / "T_1-.txt"), c.train);
    for (const std::string& name : kDescriptions) {
      EXPECT_EQ(std::filesystem::last_write_time(s.folder() / name), long_ago) << name;
    }
  }
}

TEST(CompileCommand, ADescriptionInTheWayOfAnOutputFileIsNotReplaced) {
  ScenarioFolder s;
  // Named like the track file it would compile into.
  s.write("T_linea.dat", kLine);
  s.write("T_1-.txt", kTrain);
  const ProgramRun run =
      run_tracciato(s.folder().path(), {"compile", "T_linea.dat", "T_1-.txt", "--line-name", "T"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err,
            "tracciato compile: ./T_linea.dat: this is the description being compiled; nothing "
            "was replaced: give another --out\n");
  EXPECT_EQ(read_file(s.folder() / "T_linea.dat"), kLine);
  EXPECT_EQ(s.outputs(), (Files{"T_linea.dat"}));
}

// A folder, or a file that is not a scenario file of its kind, at an output
// file's name is the author's, not an earlier compile's: nothing is moved.
TEST(CompileCommand, WhatIsNotAnEarlierScenarioFileIsNotReplaced) {
  const struct {
    const char* name;
    bool folder;
    std::string says;
  } cases[] = {
      {"T_1.dat", true, "./T_1.dat: a folder has this name, where the file goes"},
      {"T_1.sim", false, "./T_1.sim: this is not an item file this program wrote"},
      {"T_1.dat", false, "./T_1.dat: this is not a cell file this program wrote"},
      {"T_linea.dat", false, "./T_linea.dat: this is not a track file this program wrote"},
  };
  for (const auto& c : cases) {
    ScenarioFolder s;
    s.describe(kLine, kTrain);
    if (c.folder) {
      std::filesystem::create_directory(s.folder() / c.name);
      s.write(std::string(c.name) + "/mine.txt", "mine");
    } else {
      s.write(c.name, "my own notes about this scenario\n");
    }
    const ProgramRun run = s.compile();
    EXPECT_EQ(run.status, 2) << c.name << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(s.outputs(), c.folder ? Files{} : Files{c.name}) << c.name;
    if (c.folder) {
      EXPECT_EQ(read_file(s.folder() / c.name / "mine.txt"), "mine");
    }
  }
}

TEST(CompileCommand, AReportThatCannotBeDeliveredIsNotASuccess) {
  ScenarioFolder s;
  s.describe(kLine, kTrain);
  RunOptions full_disk;
  full_disk.stdout_file = "/dev/full";
  const ProgramRun run = s.compile({"--json"}, full_disk);
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.err, "tracciato: standard output: No space left on device\n");
}

TEST(TracciatoCommandLine, HelpSucceedsAndAMistypedCommandGetsAHint) {
  TempFolder folder;
  EXPECT_EQ(run_tracciato(folder.path(), {"--help"}).status, 0);
  EXPECT_EQ(run_tracciato(folder.path(), {"compile", "--help"}).status, 0);

  const ProgramRun typo = run_tracciato(folder.path(), {"compil", "a_linea.txt", "a_1-.txt"});
  EXPECT_EQ(typo.status, 2);
  EXPECT_EQ(typo.err, "tracciato: 'compil' is not a command; did you mean 'compile'?\n");

  const ProgramRun missing = run_tracciato(folder.path(), {"compile", "a_linea.txt"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("TRAIN is required"), std::string::npos) << missing.err;

  EXPECT_EQ(run_tracciato(folder.path(), {}).status, 2);
}

}  // namespace
}  // namespace tracciato
