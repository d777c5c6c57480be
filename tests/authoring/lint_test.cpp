#include "authoring/lint.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "authoring/scenario_decoding.h"
#include "embedded_scenario.h"
#include "lint_fixture.h"
#include "output/scenario_output.h"
#include "tools/lint_report.h"

namespace tracciato {
namespace {

using test_support::line_with;
using test_support::train_with;
using test_support::warnings_of;

const std::string kPlainLine = line_with({});
const std::string kPlainTrain = train_with({});

struct LintCase {
  const char* what;
  std::string line;
  std::string train;
  std::vector<std::string> warnings;
};

void expect_cases(const std::vector<LintCase>& cases) {
  for (const LintCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(warnings_of(c.line, c.train), c.warnings);
  }
}

AuthorDescriptions embedded_descriptions() {
  return {"Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", test_support::embedded_line_text(),
          test_support::embedded_train_text()};
}

TEST(Lint, TheEmbeddedScenarioIsClean) {
  const AuthorDescriptions d = embedded_descriptions();
  const LintResult result = lint_scenario(d, "Tarvo_Belmira", "7351");
  EXPECT_EQ(lint_messages(d, result), "");
  EXPECT_EQ(lint_exit_status(result), kExitSuccess);
}

// The typo drops the signal without a word from the compiler; lint names it,
// and the compiled cell file shows the gap.
TEST(Lint, AMisspelledKeyIsShownWithItsNearestKey) {
  AuthorDescriptions d = embedded_descriptions();
  d.train_text.replace(d.train_text.find("segnale,    1850"), 7, "segnalle");
  const LintResult result = lint_scenario(d, "Tarvo_Belmira", "7351");
  EXPECT_EQ(
      lint_messages(d, result),
      "Tarvo_Belmira_7351-.txt:25:1: warning: key field 'segnalle' matches no key and starts no "
      "record; did you mean 'segnale'?\n"
      "segnalle,    1850,   1, 5, 6,  0, 0,    1,  3,1,0, 0\n"
      "^\n"
      "1 warning\n");
  // A warning alone fails only when asked.
  EXPECT_EQ(lint_exit_status(result), kExitSuccess);
  EXPECT_EQ(lint_exit_status(result, true), kExitProblems);

  const auto model = test_support::compile_texts(d.line_text, d.train_text);
  const std::vector<RouteCell> cells = decode_cell_file(encode_cell_file(*model));
  EXPECT_EQ(cells[38].kind, kEmptyCell);  // where the signal at 1850 m stood
  EXPECT_EQ(std::count_if(cells.begin(), cells.end(),
                          [](const RouteCell& c) { return c.kind == kSignalCell; }),
            11);
}

TEST(Lint, WarningsComeBeforeTheCompileErrorAndSetTheStatus) {
  const AuthorDescriptions d{
      "l.txt", "t.txt", line_with({"pendenza, 475, 2"}),
      train_with({"stazione, 1025, 12, 500, 0,0,0, 0,0,0, 0,0,0, 0, 13,0,0, A"})};
  const LintResult result = lint_scenario(d, "L", "T");
  EXPECT_EQ(lint_messages(d, result),
            "l.txt:4:11: warning: gradient position 475 m is not a multiple of 50 m: it is rounded "
            "to 500 m "
            "(halves go to the even cell)\n"
            "pendenza, 475, 2\n"
            "          ^\n"
            "t.txt:2:11: error: 8 at 1025 m: the station's position is not a multiple of 50 metres\n"
            "stazione, 1025, 12, 500, 0,0,0, 0,0,0, 0,0,0, 0, 13,0,0, A\n"
            "          ^\n"
            "1 error, 1 warning\n");
  EXPECT_EQ(lint_exit_status(result), kExitProblems);
}

TEST(Lint, KeyFieldsThatStartNoRecordOrMoreThanOne) {
  expect_cases({
      {"misspelled train key",
       kPlainLine,
       train_with({"sabia, 300"}),
       {"T2:1: key field 'sabia' matches no key and starts no record; did you mean 'sabbia'?"}},
      {"misspelled feature key, its values skipped with it",
       line_with({"montagnia, 750, 1300, 2"}),
       kPlainTrain,
       {"L4:1: key field 'montagnia' matches no key and starts no record; did you mean "
        "'montagna'?"}},
      {"exact-case key, its values skipped with it",
       "[generale]\r\nProgressiva chilometrica uno, 0, 75700, 1\r\nlunghezza percorso, "
       "1000\r\n[x]\r\n\r\n",
       kPlainTrain,
       {"L2:1: key field 'Progressiva chilometrica uno' matches no key and starts no record; did "
        "you mean "
        "'progressiva chilometrica uno'? (this key is matched in exact letter case)"}},
      {"of equally near keys the one an author counts first",
       "[generale]\r\nprogresiva un, 0, 75700, 1\r\nlunghezza percorso, 1000\r\n[x]\r\n\r\n",
       kPlainTrain,
       {"L2:1: key field 'progresiva un' matches no key and starts no record; did you mean "
        "'progressiva chilometrica uno'?"}},
      {"feature key in the general section",
       "[generale]\r\npendenza, 400, -6\r\nlunghezza percorso, 1000\r\n[x]\r\n\r\n",
       kPlainTrain,
       {"L2:1: key field 'pendenza' matches no key and starts no record; 'pendenza' is a feature "
        "key, read only "
        "after the general section ends at its first heading"}},
      {"swapped letters",
       line_with({"cruvad3, 200, 100"}),
       kPlainTrain,
       {"L4:1: key field 'cruvad3' matches no key and starts no record; did you mean 'curva'?"}},
      {"a run-on field is quoted short and matched against no key",
       kPlainLine,
       train_with({std::string(90, 'x') + " segnalle"}),
       {"T2:1: key field '" + std::string(60, 'x') + "...' matches no key and starts no record"}},
      {"a value on a line of its own",
       kPlainLine,
       train_with({"sabbia, 300", "[segnali]", "1850, 1"}),
       {"T4:1: '1850' stands where a key field is expected and starts no record"}},
      {"no near key",
       kPlainLine,
       train_with({"locomotiva, 3"}),
       {"T2:1: key field 'locomotiva' matches no key and starts no record"}},
      {"one value too many",
       kPlainLine,
       train_with({"sabbia, 300, 5", "numero vetture, 3"}),
       {"T2:14: '5' stands where a key field is expected: the sand record before it reads fewer "
        "values than its "
        "line holds, so the rest are skipped as key fields"}},
      {"a comma inside a sign's text",
       line_with({"cartello_indicatore, 450, (A), (B)"}),
       kPlainTrain,
       {"L4:32: '(B)' stands where a key field is expected: the indication sign record before it "
        "reads fewer "
        "values than its line holds, so the rest are skipped as key fields"}},
      {"two keys in one field",
       kPlainLine,
       train_with({"orologio sabbia, 13, 4, 30, 300"}),
       {"T2:1: key field 'orologio sabbia' contains the keys of 2 records (clock, sand): each "
        "reads its own "
        "values in turn"}},
      {"a third comment field in a row is a key field",
       kPlainLine,
       train_with({"-a, -b, -sabbia, 300"}),
       {"T2:9: key field '-sabbia' holds a dash but is read as a key: only 2 comment fields in a "
        "row are "
        "skipped"}},
      {"no heading in the train description",
       kPlainLine,
       "sabbia, 300\r\n\r\n",
       {"T0:0: no '[generale]' field: the compiler skips everything up to one, so it reads no "
        "record of this "
        "description"}},
  });
}

TEST(Lint, FieldsMeantToCarryNothingAreNotWarnedAbout) {
  expect_cases({
      {"headings, empty lines and comments",
       line_with({"[pendenze]", "", "-- pendenze --", "pendenza, 0, 0"}),
       train_with({"[segnali]", "---------", "", "[fine]"}),
       {}},
      {"a record commented out with a dash",
       kPlainLine,
       train_with({"- segnale, 1850, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0"}),
       {}},
  });
}

TEST(Lint, PositionsOffTheGridOrOutOfOrder) {
  expect_cases({
      {"profile record off the grid rounds half to even",
       line_with({"pendenza, 475, 2"}),
       kPlainTrain,
       {"L4:11: gradient position 475 m is not a multiple of 50 m: it is rounded to 500 m (halves "
        "go to the even "
        "cell)"}},
      {"point feature off the grid rounds its cell half to even",
       line_with({"cartello_indicatore, 475, (A)"}),
       kPlainTrain,
       {"L4:22: indication sign position 475 m is not a multiple of 50 m: it is rounded to 450 m "
        "(halves go to "
        "the even cell)"}},
      {"mountain span end",
       line_with({"montagna, 750, 1320, 2"}),
       kPlainTrain,
       {"L4:16: mountain span end 1320 m is not a multiple of 50 m: it is rounded to 1300 m "
        "(halves go to the "
        "even cell)"}},
      {"slowdown end",
       kPlainLine,
       train_with({"rallentamento, 5000, 30, 425, 1, 1, 0"}),
       {"T2:26: slowdown length 425 m puts its end at 5425 m, not a multiple of 50 m: the end is "
        "rounded to "
        "5450 m (halves go to the even cell)"}},
      {"profile records out of order",
       kPlainLine,
       train_with({"velocita, 0, 75", "velocita, 1900, 135", "velocita, 1000, 60"}),
       {"T4:1: speed limit at 1000 m takes effect only from 1950 m: the records before it have "
        "filled the cells "
        "up to there (records of a kind go in ascending order of position)"}},
      {"two gradients in one cell",
       line_with({"pendenza, 400, -6", "pendenza, 400, -8"}),
       kPlainTrain,
       {"L5:1: gradient at 400 m takes effect only from 450 m: the records before it have filled "
        "the cells up "
        "to there (records of a kind go in ascending order of position)"}},
      {"signs out of order",
       line_with({"cartello_indicatore, 1250, (B)", "cartello_indicatore, 450, (A)"}),
       kPlainTrain,
       {"L5:1: indication sign at 450 m comes after one at 1250 m: records of a kind go in "
        "ascending order of "
        "position"}},
      {"stations out of order",
       kPlainLine,
       train_with({"stazione, 5000, 12, 500, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B",
                   "stazione, 1000, 12, 500, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A"}),
       {"T3:1: station at 1000 m comes after one at 5000 m: records of a kind go in ascending "
        "order of position"}},
      {"overlapping mountain spans",
       line_with({"montagna, 750, 1300, 2", "montagna, 1200, 1500, 2"}),
       kPlainTrain,
       {"L5:1: mountain span from 1200 m starts before the previous span ends at 1300 m: it is "
        "taken as joined "
        "to it (span kind 3); spans go in ascending order"}},
      {"curve behind the previous one's end",
       line_with({"curvas2, 200, 150", "curvas3, 300, 100"}),
       kPlainTrain,
       {"L5:1: curve from 300 m over 100 m starts behind the end of the previous curve at 350 m: "
        "only its part "
        "after 350 m bends the track"}},
      {"curve wholly behind",
       line_with({"curvas2, 200, 150", "curvas3, 250, 50"}),
       kPlainTrain,
       {"L5:1: curve from 250 m over 50 m starts behind the end of the previous curve at 350 m: it "
        "bends "
        "nothing"}},
      {"curves end to end", line_with({"curvas2, 200, 150", "curvas3, 350, 100"}), kPlainTrain, {}},
      {"signal near the start",
       kPlainLine,
       train_with({"segnale, 100, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0"}),
       {"T2:1: signal at 100 m stands within 350 m of the start: 3 of its 4 approach codes would "
        "fall before "
        "cell 0 and are cut off"}},
      {"signal far enough",
       kPlainLine,
       train_with({"segnale, 350, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0"}),
       {}},
  });
}

TEST(Lint, ValuesStoredTruncated) {
  expect_cases({
      {"gradient beyond a byte",
       line_with({"pendenza, 0, 160", "pendenza, 50, -101"}),
       kPlainTrain,
       {"L4:14: gradient 160 is stored as gradient + 100 in one byte, which holds -100 to 155: it "
        "becomes -96",
        "L5:15: gradient -101 is stored as gradient + 100 in one byte, which holds -100 to 155: it "
        "becomes 155"}},
      {"adhesion beyond a byte",
       kPlainLine,
       train_with({"aderenza, 0, 300"}),
       {"T2:14: adhesion 300 is stored in one byte, which holds 0 to 255: it becomes 44"}},
      {"speed between steps",
       kPlainLine,
       train_with({"velocita, 0, 137"}),
       {"T2:14: speed 137 km/h is stored in steps of 5 km/h: it becomes 135 km/h"}},
      {"signal numbers that overlap in the packing",
       kPlainLine,
       train_with({"segnale, 1850, 3, 5, 6, 0, 0, 1, 12, 1, 0, 300"}),
       {"T2:16: sx 3 must lie in 0..2: sx and dx are packed as 3 x sx + dx into one digit",
        "T2:34: d1 12 runs into s1: they are packed as 10 x s + d, so d must lie in 0..9"}},
      {"signal time beyond a byte",
       kPlainLine,
       train_with({"segnale, 1850, 2, 5, 6, 0, 0, 1, 3, 1, 0, 300"}),
       {"T2:43: signal time 300 is stored in one byte, which holds 0 to 255: it becomes 44"}},
      {"slowdown speed beyond 16 bits",
       kPlainLine,
       train_with({"rallentamento, 5000, 40000, 400, 1, 1, 0"}),
       {"T2:22: speed v 40000 is stored in 16 bits, which hold -32768 to 32767: it becomes "
        "-25536"}},
  });
}

// Every warning used to look for its line by reading the text from its
// start: 1 MB of mistyped keys took a minute (the 50 MB case is timed by
// scripts/bench.sh). Each of 100,000 warnings still finds its own line.
TEST(Lint, AWarningOnEveryLineOfALargeTextFindsItsOwnLine) {
  constexpr int kLines = 100000;
  std::string line = "[generale]\r\nlunghezza percorso, 2000\r\n[fine]\r\n";
  for (int i = 0; i < kLines; ++i) line += "pendenze sbagliata,   100,   -3\r\n";
  line += "\r\n";
  const AuthorDescriptions d{"L_linea.txt", "L_1-.txt", line, kPlainTrain};
  const std::string messages = lint_messages(d, lint_scenario(d, "L", "1"));
  // Three lines each (the place and sentence, the source line, the caret),
  // then the summary.
  EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 3 * kLines + 1);
  EXPECT_TRUE(messages.ends_with("L_linea.txt:" + std::to_string(kLines + 3) +
                                 ":1: warning: key field 'pendenze sbagliata' matches no key and "
                                 "starts no record; did you mean 'pendenza'?\n"
                                 "pendenze sbagliata,   100,   -3\n"
                                 "^\n" +
                                 std::to_string(kLines) + " warnings\n"))
      << messages.substr(messages.size() - 400);
}

}  // namespace
}  // namespace tracciato
