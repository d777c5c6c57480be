// What an author reads when a compile goes wrong, as whole message texts:
// each problem at the field that caused it, in words that say what to do, with
// notes at the related places.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "authoring/embedded_scenario.h"
#include "compile_fixtures.h"
#include "compiler/diagnostics.h"
#include "tools/author_compile.h"
#include "tools/compile_report.h"

namespace tracciato {
namespace {

constexpr std::string_view kLineFile = "Tarvo_Belmira_linea.txt";
constexpr std::string_view kTrainFile = "Tarvo_Belmira_7351-.txt";

// The text with its line `number` (1-based, CR LF lines) replaced.
std::string with_line(const std::string& text, int number, std::string_view replacement) {
  std::string out;
  size_t start = 0;
  for (int n = 1; start < text.size(); ++n) {
    const size_t end = text.find("\r\n", start);
    const size_t next = end == std::string::npos ? text.size() : end + 2;
    out += n == number ? std::string(replacement) + "\r\n" : text.substr(start, next - start);
    start = next;
  }
  return out;
}

// Compiles as `tracciato compile` does, writing nothing, and returns what it
// prints on standard error.
std::string messages(std::string line, std::string train, std::string_view line_file = kLineFile,
                     std::string_view train_file = kTrainFile) {
  const AuthorDescriptions descriptions{std::string(line_file), std::string(train_file),
                                        std::move(line), std::move(train)};
  AuthorCompileOptions options;
  options.line_name = "Tarvo_Belmira";
  options.train_number = "7351";
  options.write = false;
  return compile_messages(descriptions, compile_author_scenario(descriptions, options));
}

std::string embedded_line() { return test_support::embedded_line_text(); }
std::string embedded_train() { return test_support::embedded_train_text(); }

TEST(CompileMessages, ALineRecordBeyondTheRouteIsReportedAtItsOwnLine) {
  // The train's first signal (line 25) ends the reading and gives the
  // position kept; the message still points at the line record at fault.
  const std::string line = with_line(embedded_line(), 77, "montagna,   47800,  47850,  2");
  EXPECT_EQ(messages(line, embedded_train()),
            "Tarvo_Belmira_linea.txt:77:13: error: 15 at 1850 m: 47800 m lies beyond the route: "
            "the route's cells run to 39000 m (the line and 7000 m more), and this record needs "
            "100 m of them after its position, so the last it may have is 38900 m\n"
            "montagna,   47800,  47850,  2\n"
            "            ^\n"
            "Tarvo_Belmira_7351-.txt:25:1: note: the reading goes on into the train description "
            "until its first signal or slowdown, which ends it here: the position kept, 1850 m, "
            "is this record's\n"
            "segnale,    1850,   1, 5, 6,  0, 0,    1,  3,1,0, 0\n"
            "^\n");
}

TEST(CompileMessages, ASignalOnASignsCellNamesTheSignAndWhereItWasPlaced) {
  const std::string train =
      with_line(embedded_train(), 29, "segnale,    6750,   1, 4, 1,  0, 0,    0,  0,0,0, 0");
  EXPECT_EQ(messages(embedded_line(), train),
            "Tarvo_Belmira_7351-.txt:29:13: error: 16 at 6750 m: the signal's cell 136 (6750 to "
            "6800 m) is already occupied by the indication sign `(PASSAGGIO)(A LIVELLO)(Km "
            "68+905)`\n"
            "segnale,    6750,   1, 4, 1,  0, 0,    0,  0,0,0, 0\n"
            "            ^\n"
            "Tarvo_Belmira_linea.txt:104:1: note: the indication sign `(PASSAGGIO)(A LIVELLO)(Km "
            "68+905)` was placed by this record, at 6750 m\n"
            "cartello_indicatore,  6750,   (PASSAGGIO)(A LIVELLO)(Km 68+905)\n"
            "^\n");
}

TEST(CompileMessages, NumberedMarksInTheWayNameTheBoardTheFourCellsAndTheOccupant) {
  // A slowdown from 3150 m: its board at 1950 m, its marks in cells 39 to
  // 36, and the speed indicator group of 1900 m in cell 39. At 120 km/h
  // there is no walk whose own problem would replace code 20.
  const std::string train =
      with_line(embedded_train(), 23, "rallentamento,  3150, 120, 400, 1, 1, 0");
  EXPECT_EQ(messages(embedded_line(), train),
            "Tarvo_Belmira_7351-.txt:23:17: error: 20 at 3150 m: the warning board stands 1200 m "
            "before the slowdown, at 1950 m in cell 40 (1950 to 2000 m); its four numbered marks "
            "need cells 39, 38, 37 and 36 (1750 to 1950 m), but cell 39 is already occupied by a "
            "maximum-speed indicator group\n"
            "rallentamento,  3150, 120, 400, 1, 1, 0\n"
            "                ^\n"
            "Tarvo_Belmira_linea.txt:80:1: note: a maximum-speed indicator group was placed by "
            "this record, at 1900 m\n"
            "indicatori_vmax,  1900,  125,  135,  135,  0,  125,  135,  135,  0\n"
            "^\n");
}

TEST(CompileMessages, EachOccupiedCellCodeNamesWhatIsInTheCell) {
  using test_support::kLine;
  using test_support::kTrain;
  const struct {
    const char* what;
    std::string line;
    std::string train;
    std::string expected;
  } cases[] = {
      {"6: a sign on a speed indicator group",
       "[generale]\r\nlunghezza percorso, 2000\r\n[fine]\r\n"
       "indicatori_vmax, 500, 60,60,60,0, 60,60,60,0\r\ncartello_indicatore, 500, (A)\r\n\r\n",
       std::string(kTrain),
       "T_linea.txt:5:22: error: 6 at 500 m: the indication sign's cell 11 (500 to 550 m) is "
       "already occupied by a maximum-speed indicator group\n"
       "cartello_indicatore, 500, (A)\n"
       "                     ^\n"
       "T_linea.txt:4:1: note: a maximum-speed indicator group was placed by this record, at "
       "500 m\n"
       "indicatori_vmax, 500, 60,60,60,0, 60,60,60,0\n"
       "^\n"},
      {"21: an indicator group on a sign",
       "[generale]\r\nlunghezza percorso, 2000\r\n[fine]\r\n"
       "cartello_indicatore, 500, (A)\r\nindicatori_vmax, 500, 60,60,60,0, 60,60,60,0\r\n\r\n",
       std::string(kTrain),
       "T_linea.txt:5:18: error: 21 at 500 m: the maximum-speed indicator group's cell 11 (500 "
       "to 550 m) is already occupied by the indication sign `(A)`\n"
       "indicatori_vmax, 500, 60,60,60,0, 60,60,60,0\n"
       "                 ^\n"
       "T_linea.txt:4:1: note: the indication sign `(A)` was placed by this record, at 500 m\n"
       "cartello_indicatore, 500, (A)\n"
       "^\n"},
      {"7: an abbattimento on a signal", std::string(kLine),
       "[generale]\r\nsegnale, 1000, 1, 5, 6, 0, 0, 1, 3,1,0, 0\r\nabbattimento, 1050, 90\r\n\r\n",
       "T_1-.txt:3:15: error: 7 at 1050 m: the abbattimento mark's cell 21 (1000 to 1050 m) is "
       "already occupied by a signal\n"
       "abbattimento, 1050, 90\n"
       "              ^\n"
       "T_1-.txt:2:1: note: a signal was placed by this record, at 1000 m\n"
       "segnale, 1000, 1, 5, 6, 0, 0, 1, 3,1,0, 0\n"
       "^\n"},
      {"17: a warning board on a station's stop mark", std::string(kLine),
       "[generale]\r\nstazione, 500, 12, 200, 0,0,0, 0,0,0, 0,0,0,0, 0,0,0, NORD\r\n"
       "rallentamento, 1700, 30, 100, 1, 0, 0\r\n\r\n",
       "T_1-.txt:3:16: error: 17 at 1700 m: the slowdown's warning board cell 11 (500 to 550 m) "
       "is already occupied by the stop mark of the station `NORD`\n"
       "rallentamento, 1700, 30, 100, 1, 0, 0\n"
       "               ^\n"
       "T_1-.txt:2:1: note: the stop mark of the station `NORD` was placed by this record, at "
       "500 m\n"
       "stazione, 500, 12, 200, 0,0,0, 0,0,0, 0,0,0,0, 0,0,0, NORD\n"
       "^\n"},
      {"18: a slowdown's start on another's start", std::string(kLine),
       "[generale]\r\nrallentamento, 1000, 30, 200, 1, 0, 0\r\n"
       "rallentamento, 1000, 60, 400, 1, 0, 0\r\n\r\n",
       "T_1-.txt:3:16: error: 18 at 1000 m: the slowdown's start cell 21 (1000 to 1050 m) is "
       "already occupied by the start of a slowdown\n"
       "rallentamento, 1000, 60, 400, 1, 0, 0\n"
       "               ^\n"
       "T_1-.txt:2:1: note: the start of a slowdown was placed by this record, at 1000 m\n"
       "rallentamento, 1000, 30, 200, 1, 0, 0\n"
       "^\n"},
      {"19: a slowdown's end on another's end", std::string(kLine),
       "[generale]\r\nrallentamento, 1000, 30, 200, 1, 0, 0\r\n"
       "rallentamento, 800, 30, 400, 1, 0, 0\r\n\r\n",
       "T_1-.txt:3:16: error: 19 at 800 m: the slowdown's end cell 25 (1200 to 1250 m) is "
       "already occupied by the end of a slowdown\n"
       "rallentamento, 800, 30, 400, 1, 0, 0\n"
       "               ^\n"
       "T_1-.txt:2:1: note: the end of a slowdown was placed by this record, at 1000 m\n"
       "rallentamento, 1000, 30, 200, 1, 0, 0\n"
       "^\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(messages(c.line, c.train, "T_linea.txt", "T_1-.txt"), c.expected) << c.what;
  }
}

TEST(CompileMessages, ACodeOfTheCompletionPassReplacesTheWordsOfTheReadingsCode) {
  // The reading stops at an abbattimento on the signal of 1850 m (code 7,
  // with its own sentence and note); the completion pass then finds no cell
  // before the signal at 5250 m for the slowdown read just before, and its
  // code 11, with its own words, replaces the 7.
  std::string train =
      with_line(embedded_train(), 37, "rallentamento,  6500, 120,  400,  1,  0,  0");
  train = with_line(train, 38, "abbattimento,   1900,   90");
  EXPECT_EQ(messages(embedded_line(), train),
            "tracciato: error: 11 at 5300 m: the signal in cell 106 (5250 to 5300 m) stands within "
            "20 cells before the warning board in cell 107 (5300 to 5350 m) and needs an "
            "abbattimento mark in one of the two cells just before it, but neither is free or "
            "holds one: cell 105 (5200 to 5250 m) holds the indication sign `(SEGNAL DI "
            "AVVISO)(SPECIFICO       )(PER  P.L.       )`, cell 104 (5150 to 5200 m) holds the "
            "indication sign `(EX. BIVIO DA )(TARVO DREVA -)( - TIRSENA'  )`\n"
            "Tarvo_Belmira_linea.txt:100:1: note: the indication sign `(SEGNAL DI "
            "AVVISO)(SPECIFICO       )(PER  P.L.       )` was placed by this record, at 5200 m\n"
            "cartello_indicatore,  5200,   (SEGNAL DI AVVISO)(SPECIFICO       )(PER  P.L.       )\n"
            "^\n"
            "Tarvo_Belmira_linea.txt:99:1: note: the indication sign `(EX. BIVIO DA )(TARVO "
            "DREVA -)( - TIRSENA'  )` was placed by this record, at 5150 m\n"
            "cartello_indicatore,  5150,   (EX. BIVIO DA )(TARVO DREVA -)( - TIRSENA'  )\n"
            "^\n");
}

TEST(CompileMessages, AProgressiveOffTheGridReplacesAPositionBeyondTheRouteWithItsOwnWords) {
  // The line's code 15 lets the train be read; with no signal or slowdown in
  // it, the end steps run, and their code 2 keeps only the 15's position.
  const std::string line =
      "[generale]\r\nlunghezza percorso, 2000\r\nprogressiva chilometrica uno, 0, 75725, "
      "1\r\n[fine]\r\npendenza, 9000, 0\r\n\r\n";
  EXPECT_EQ(messages(line, "[generale]\r\n\r\n", "T_linea.txt", "T_1-.txt"),
            "T_linea.txt: error: 2 at 9000 m: " + std::string(error_message(2)) + "\n");
}

TEST(CompileMessages, TheCompletionPassNamesTheCellsItFoundOccupied) {
  const std::string line = "[generale]\r\nlunghezza percorso, 5000\r\n[fine]\r\n\r\n";
  const struct {
    const char* what;
    std::string train;
    std::string expected;
  } cases[] = {
      {"12: the three cells 5 to 7 before a slowdown's start",
       "[generale]\r\nsegnale, 2500, 1,0,0,0,0,0,0,0,0,0\r\nsegnale, 2550, 1,0,0,0,0,0,0,0,0,0\r\n"
       "segnale, 2600, 1,0,0,0,0,0,0,0,0,0\r\nrallentamento, 2850, 120, 200, 1, 0, 0\r\n\r\n",
       "tracciato: error: 12 at 2900 m: the slowdown starting in cell 58 (2850 to 2900 m) needs "
       "an abbattimento mark 5 to 7 cells before it, but none of those cells is free: cell 53 "
       "(2600 to 2650 m) holds a signal, cell 52 (2550 to 2600 m) holds a signal, cell 51 (2500 "
       "to 2550 m) holds a signal\n"
       "T_1-.txt:4:1: note: a signal was placed by this record, at 2600 m\n"
       "segnale, 2600, 1,0,0,0,0,0,0,0,0,0\n"
       "^\n"
       "T_1-.txt:3:1: note: a signal was placed by this record, at 2550 m\n"
       "segnale, 2550, 1,0,0,0,0,0,0,0,0,0\n"
       "^\n"
       "T_1-.txt:2:1: note: a signal was placed by this record, at 2500 m\n"
       "segnale, 2500, 1,0,0,0,0,0,0,0,0,0\n"
       "^\n"},
      {"13: the mark due inside a slow slowdown",
       "[generale]\r\nsegnale, 1350, 1,0,0,0,0,0,0,0,0,0\r\nsegnale, 1400, 1,0,0,0,0,0,0,0,0,0\r\n"
       "segnale, 1450, 1,0,0,0,0,0,0,0,0,0\r\nrallentamento, 1000, 30, 1000, 1, 0, 0\r\n\r\n",
       "tracciato: error: 13 at 1450 m: inside the slowdown starting in cell 21 (1000 to 1050 m), "
       "slower than 110 km/h, a mark is due every 400 m; the one due in cell 29 (1400 to 1450 m) "
       "finds no free cell there or next to it: cell 28 (1350 to 1400 m) holds a signal, cell 29 "
       "(1400 to 1450 m) holds a signal, cell 30 (1450 to 1500 m) holds a signal\n"
       "T_1-.txt:2:1: note: a signal was placed by this record, at 1350 m\n"
       "segnale, 1350, 1,0,0,0,0,0,0,0,0,0\n"
       "^\n"
       "T_1-.txt:3:1: note: a signal was placed by this record, at 1400 m\n"
       "segnale, 1400, 1,0,0,0,0,0,0,0,0,0\n"
       "^\n"
       "T_1-.txt:4:1: note: a signal was placed by this record, at 1450 m\n"
       "segnale, 1450, 1,0,0,0,0,0,0,0,0,0\n"
       "^\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(messages(line, c.train, "T_linea.txt", "T_1-.txt"), c.expected) << c.what;
  }
}

// Code 25 has many causes; each has its own sentence, at the field at fault
// with a caret under it.
TEST(CompileMessages, EachCauseOfAFailedReadingHasItsOwnSentence) {
  using test_support::kLine;
  using test_support::kTrain;
  const std::string line_head = "[generale]\r\nlunghezza percorso, 2000\r\n[fine]\r\n";
  const struct {
    const char* what;
    std::string line;
    std::string train;
    std::string expected;
  } cases[] = {
      {"a letter in a number", line_head + "pendenza, 100,  4x\r\n\r\n", std::string(kTrain),
       "T_linea.txt:4:17: error: 25 at 0 m: `4x` is not a whole number, in field 2 (gradient) "
       "of `pendenza`\n"
       "pendenza, 100,  4x\n"
       "                ^\n"},
      {"a sign without digits", line_head + "pendenza, +, 4\r\n\r\n", std::string(kTrain),
       "T_linea.txt:4:11: error: 25 at 0 m: `+` is a sign with no digits, in field 1 (position) "
       "of `pendenza`\n"
       "pendenza, +, 4\n"
       "          ^\n"},
      {"eleven digits", line_head + "pendenza, 12345678901, 4\r\n\r\n", std::string(kTrain),
       "T_linea.txt:4:11: error: 25 at 0 m: `12345678901` does not fit 32 bits (-2147483648 to "
       "2147483647), in field 1 (position) of `pendenza`\n"
       "pendenza, 12345678901, 4\n"
       "          ^\n"},
      {"too wide for an 8-bit station field", std::string(kLine),
       "[generale]\r\nstazione, 500, 12, 200, 300,0,0, 0,0,0, 0,0,0,0, 0,0,0, NORD\r\n\r\n",
       "T_1-.txt:2:25: error: 25 at 0 m: 300 does not fit field 4 (field 4) of `stazione` (0 to "
       "255)\n"
       "stazione, 500, 12, 200, 300,0,0, 0,0,0, 0,0,0,0, 0,0,0, NORD\n"
       "                        ^\n"},
      {"too wide for a 16-bit field", std::string(kLine), "[generale]\r\nsabbia, 40000\r\n\r\n",
       "T_1-.txt:2:9: error: 25 at 0 m: 40000 does not fit field 1 (sand) of `sabbia` (-32768 to "
       "32767)\n"
       "sabbia, 40000\n"
       "        ^\n"},
      {"the text ends inside a record", std::string(kLine),
       "[generale]\r\nsegnale, 1000, 1, 5, 6, 0, 0, 1",
       "T_1-.txt:2:31: error: 25 at 0 m: the text ends inside a `segnale` record: it needs 11 "
       "values, 7 were found\n"
       "segnale, 1000, 1, 5, 6, 0, 0, 1\n"
       "                              ^\n"},
      // The feature part, and the track with it, begins at the section's end.
      {"a general section without the line length",
       "[generale]\r\n[fine]\r\npendenza, 0, 0\r\n\r\n", std::string(kTrain),
       "T_linea.txt:2:1: error: 25 at 0 m: the route is needed before its length record: "
       "`lunghezza percorso` must come first\n"
       "[fine]\n"
       "^\n"
       "tracciato: stop: the reading ended before the line length was known, so there are no "
       "route cells to complete and write; no file written\n"},
      {"a speed too high for its byte", std::string(kLine),
       "[generale]\r\nvelocita, 0, 2000\r\n\r\n",
       "T_1-.txt:2:1: error: 25 at 0 m: the speed limit 2000 km/h does not fit its byte once "
       "divided by 5 (0 to 1277 km/h)\n"
       "velocita, 0, 2000\n"
       "^\n"},
      {"an abbattimento value too wide", std::string(kLine),
       "[generale]\r\nabbattimento, 1000, 40000\r\n\r\n",
       "T_1-.txt:2:1: error: 25 at 0 m: 40000 does not fit field 2 (value) of `abbattimento` "
       "(-32768 to 32767)\n"
       "abbattimento, 1000, 40000\n"
       "^\n"},
      {"a time of day that overflows", std::string(kLine),
       "[generale]\r\nstazione, 500, 12, 200, 0,0,0, 0,0,0, 0,0,0,0, 2000000000,0,0, "
       "NORD\r\n\r\n",
       "T_1-.txt:2:1: error: 25 at 0 m: a sum of the record's values overflows 32 bits\n"
       "stazione, 500, 12, 200, 0,0,0, 0,0,0, 0,0,0,0, 2000000000,0,0, NORD\n"
       "^\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(messages(c.line, c.train, "T_linea.txt", "T_1-.txt"), c.expected) << c.what;
  }
}

TEST(CompileMessages, AStationLengthOffTheHundredsNamesTheNearestValidLengths) {
  const std::string train =
      with_line(embedded_train(), 20,
                "stazione,   13200, 12,  450,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,16, 0, LAVRETTO");
  EXPECT_EQ(messages(embedded_line(), train),
            "Tarvo_Belmira_7351-.txt:20:25: error: 9 at 13200 m: the station's length 450 m is "
            "not a multiple of 100 metres: the nearest valid lengths are 400 and 500 m\n"
            "stazione,   13200, 12,  450,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,16, 0, LAVRETTO\n"
            "                        ^\n");
}

}  // namespace
}  // namespace tracciato
