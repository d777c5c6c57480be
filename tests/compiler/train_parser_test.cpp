#include "compiler/train_parser.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "train_fixture.h"

namespace tracciato {
namespace {

using test_support::route_model;
using test_support::run_train;
using test_support::train_text;

// The speed_limit (or adhesion) of cells first .. last, all equal to value.
void expect_range(const ScenarioModel& model, uint8_t RouteCell::*field, int first, int last,
                  int value) {
  for (int c = first; c <= last; ++c) {
    ASSERT_EQ(model.route_cells[c].*field, value) << "cell " << c;
  }
}

TEST(TrainRecords, KeysAreFoundAnywhereInAnyCase) {
  const struct {
    std::string line;
    int32_t ItemRecord::*field;
    int item;
    int32_t expected;
  } number_cases[] = {
      {"numero vetture,    3", &ItemRecord::num_3, kGeneralData, 3},
      {"NUMERO VETTURE, 4", &ItemRecord::num_3, kGeneralData, 4},
      {"vetture,5", &ItemRecord::num_3, kGeneralData, 5},
      {"percentuale massa frenata,    120", &ItemRecord::num_1, kGeneralData, 120},
      {"Massa FRENATA, -7", &ItemRecord::num_1, kGeneralData, -7},
      // "frenata" alone starts nothing; its value is then a key field.
      {"frenata,    120", &ItemRecord::num_1, kGeneralData, 0},
  };
  for (const auto& c : number_cases) {
    ScenarioModel model = route_model();
    const auto run = run_train(model, train_text({c.line}));
    EXPECT_FALSE(run.failed) << c.line;
    EXPECT_EQ(model.item_table[c.item].*c.field, c.expected) << c.line;
    EXPECT_EQ(model.error_code, 0) << c.line;
  }
}

TEST(TrainRecords, ClockAndSand) {
  ScenarioModel model = route_model();
  run_train(model,
            train_text({"sabbia,    300", "orologio,    13              4             30 "}));
  const ItemRecord& train = model.item_table[kTrainIdentity];
  EXPECT_EQ(train.small_1, 300);
  EXPECT_EQ(train.small_3, 13);
  EXPECT_EQ(train.small_4, 4);
  EXPECT_EQ(train.small_5, 30);
}

TEST(TrainRecords, SectionHeadingsStartNothing) {
  ScenarioModel model = route_model();
  const auto run =
      run_train(model, train_text({"[aderenze]", "[vel_limite]", "[stazioni]", "[rallentamenti]",
                                   "[segnali]", "[codici]", "[fine]", ""}));
  EXPECT_FALSE(run.failed);
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(model.item_table[1], ItemRecord{});
}

TEST(TrainRecords, OneKeyFieldRunsEveryRecordItContains) {
  ScenarioModel model = route_model();
  run_train(model, train_text({"vetture e sabbia, 3, 300"}));
  EXPECT_EQ(model.item_table[kGeneralData].num_3, 3);
  EXPECT_EQ(model.item_table[kTrainIdentity].small_1, 300);
}

TEST(TrainRecords, AtMostTwoDashFieldsArePassedOver) {
  const struct {
    std::string line;
    int32_t coaches;
  } cases[] = {
      {"---- commento ----, vetture, 3", 3},
      {"-a, -b, vetture, 3", 3},
      {"-a, -b, -c vetture, 3", 3},    // the third is the key field and holds a key
      {"-a, -b, -c, -vetture, 3", 0},  // "-c" starts nothing; "-vetture" is a dash field again
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    const auto run = run_train(model, train_text({c.line}));
    EXPECT_FALSE(run.failed) << c.line;
    EXPECT_EQ(model.item_table[kGeneralData].num_3, c.coaches) << c.line;
  }
}

TEST(TrainRecords, WhereTheTextEnds) {
  const struct {
    const char* what;
    std::string text;
    bool failed;
    int32_t coaches;
  } cases[] = {
      {"empty", "", false, 0},
      {"no [generale]", "vetture, 3\r\n", false, 0},
      {"heading in capitals", "[GENERALE]\r\nvetture, 3\r\n", false, 3},
      {"heading as the last field", "vetture, 3\r\n[generale]", false, 0},
      {"a key field that is the last field is never examined", "[generale]\r\nvetture", false, 0},
      {"a value that is the last field is read", "[generale]\r\nvetture,3", false, 3},
      {"a dash field before the end", "[generale]\r\n-x-,vetture", false, 0},
      {"a value past the end", "[generale]\r\nsegnale, 1850, 1\r\n", true, 0},
      {"a value that is no number", "[generale]\r\nvetture, 3a\r\n", true, 0},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    const auto run = run_train(model, c.text);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(run.failed, c.failed);
    EXPECT_EQ(run.discarded, !c.failed);
    EXPECT_EQ(model.item_table[kGeneralData].num_3, c.coaches);
  }
}

TEST(TrainPhase, AnEmptyTrainCompletesBothProfilesWithZero) {
  ScenarioModel model = route_model();
  for (RouteCell& cell : model.route_cells) cell.speed_limit = cell.adhesion = 9;
  const auto run = run_train(model, "");
  EXPECT_FALSE(run.failed);
  EXPECT_TRUE(run.discarded);
  EXPECT_EQ(model.error_code, 0);
  expect_range(model, &RouteCell::speed_limit, 0, 777, 0);
  expect_range(model, &RouteCell::adhesion, 0, 777, 0);
  expect_range(model, &RouteCell::speed_limit, 778, 780, 9);
}

TEST(TrainPhase, AMissingTrainTextIsARuntimeFailureLeftToTheCaller) {
  ScenarioModel model = route_model();
  const auto run = run_train(model, std::nullopt);
  EXPECT_TRUE(run.failed);
  EXPECT_FALSE(run.discarded);
  EXPECT_EQ(model.error_site.description, Description::kTrain);
}

TEST(SpeedProfile, EachRecordFillsUpToItsOwnCell) {
  ScenarioModel model = route_model();
  run_train(model, train_text({"velocita,       0,    75", "velocita,    1900,   135"}));
  expect_range(model, &RouteCell::speed_limit, 0, 37, 15);
  expect_range(model, &RouteCell::speed_limit, 38, 777, 27);
  expect_range(model, &RouteCell::speed_limit, 778, 780, 0);
}

TEST(SpeedProfile, RoundingOrderAndLimits) {
  const struct {
    const char* what;
    std::vector<std::string_view> lines;
    int first, last, value;  // one range to check
    bool failed;
  } cases[] = {
      {"9.5 cells round to 10", {"velocita, 0, 50", "velocita, 475, 100"}, 0, 9, 10, false},
      {"8.5 cells round to 8", {"velocita, 0, 50", "velocita, 425, 100"}, 8, 777, 20, false},
      {"a record behind the fill writes one cell",
       {"velocita, 0, 50", "velocita, 1000, 100", "velocita, 500, 150"},
       20,
       20,
       20,
       false},
      {"... and the next record resumes after it",
       {"velocita, 0, 50", "velocita, 1000, 100", "velocita, 500, 150"},
       21,
       777,
       30,
       false},
      {"a speed at 0 only sets the last speed",
       {"velocita, 0, 2000", "velocita, 0, 60"},
       0,
       777,
       12,
       false},
      {"km/h over 5 rounds half to even", {"velocita, 0, 1277"}, 0, 777, 255, false},
      {"a negative speed that rounds to 0", {"velocita, 0, -2"}, 0, 777, 0, false},
      {"a record on the last accepted position",
       {"velocita, 0, 10", "velocita, 38900, 20"},
       0,
       777,
       2,
       false},
      {"... and the end steps still write one cell",
       {"velocita, 0, 10", "velocita, 38900, 20"},
       778,
       778,
       4,
       false},
      {"a fifth above 255", {"velocita, 0, 1278", "velocita, 100, 50"}, 0, 0, 0, true},
      {"a fifth below 0", {"velocita, 0, -3"}, 0, 0, 0, true},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    std::string text = "[generale]\r\n";
    for (std::string_view line : c.lines) (text += line) += "\r\n";
    const auto run = run_train(model, text);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(run.failed, c.failed);
    if (!c.failed) expect_range(model, &RouteCell::speed_limit, c.first, c.last, c.value);
  }
}

TEST(AdhesionProfile, StoresTheLowEightBitsWithoutDivision) {
  ScenarioModel model = route_model();
  run_train(model, train_text({"aderenza, 0, 100", "aderenza, 1000, 300", "aderenza, 2000, -1"}));
  expect_range(model, &RouteCell::adhesion, 0, 19, 100);
  expect_range(model, &RouteCell::adhesion, 20, 39, 44);
  expect_range(model, &RouteCell::adhesion, 40, 777, 255);
  expect_range(model, &RouteCell::adhesion, 778, 780, 0);
}

TEST(RoutePositions, BeyondTheRouteEndsWithTheEndSteps) {
  const struct {
    std::string line;
    int32_t code, position;
  } cases[] = {
      {"velocita, 38900, 60", 0, 0},
      {"velocita, 38950, 60", 15, 38950},
      {"aderenza, 38950, 60", 15, 38950},
      {"segnale, 38950, 1,0,0,0,0,0,0,0,0,0", 15, 38950},
      {"rallentamento, 38950, 30, 50, 0, 0, 0", 15, 38950},
      {"abbattimento, 38950, 100", 15, 38950},
      {"stazione, 38250, 25, 0, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 15, 38250},
      {"stazione, 38200, 25, 0, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 0, 0},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    const auto run = run_train(model, train_text({"velocita, 0, 50", c.line, "vetture, 3"}));
    SCOPED_TRACE(c.line);
    EXPECT_FALSE(run.failed);
    EXPECT_TRUE(run.discarded);
    EXPECT_EQ(model.error_code, c.code);
    EXPECT_EQ(model.error_position, c.position);
    EXPECT_EQ(model.item_table[kGeneralData].num_3, c.code == 0 ? 3 : 0);
    // The end steps ran: the profile is complete with the last accepted speed.
    expect_range(model, &RouteCell::speed_limit, 0, 777, 10);
  }
}

TEST(RoutePositions, OverflowAndMissingRouteAreRuntimeFailures) {
  const struct {
    const char* what;
    bool with_route;
    std::string line;
  } cases[] = {
      {"p + 100 overflows", true, "segnale, 2147483600, 1,0,0,0,0,0,0,0,0,0"},
      {"p + 800 overflows", true, "stazione, 2147483000, 25"},
      {"no route before a position check", false, "velocita, 0, 50"},
      {"no route for the end steps", false, "vetture, 3"},
  };
  for (const auto& c : cases) {
    ScenarioModel model = c.with_route ? route_model() : ScenarioModel{};
    model.error_position = 77;
    const auto run = run_train(model, train_text({c.line}));
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(run.failed);
    EXPECT_EQ(model.error_position, 77);
  }
}

TEST(SignalRecords, ASecondSignalOnTheSameCellEndsTheParseAtOnce) {
  ScenarioModel model = route_model();
  const auto run =
      run_train(model, train_text({"velocita, 0, 50", "segnale, 1850, 1,5,6,0,0,1,3,1,0,0",
                                   "segnale, 1850, 2,2,3,0,0,0,0,0,0,190", "vetture, 3"}));
  EXPECT_FALSE(run.failed);
  EXPECT_TRUE(run.discarded);
  EXPECT_EQ(model.error_code, 16);
  EXPECT_EQ(model.error_position, 1850);
  EXPECT_EQ(model.route_cells[38].value_1, 53);
  EXPECT_EQ(model.item_table[kGeneralData].num_3, 0);
  // No end steps: the speed profile stays as the records left it.
  EXPECT_EQ(model.route_cells[0].speed_limit, 0);
}

TEST(SignalRecords, SlowdownAndAbbattimentoProblemsRecordTheRecordsPosition) {
  const struct {
    std::vector<std::string_view> lines;
    int32_t code, position;
  } cases[] = {
      {{"segnale, 5000, 1,0,0,0,0,0,0,0,0,0", "rallentamento, 5000, 30, 400, 0, 0, 0"}, 18, 5000},
      {{"rallentamento, 5000, 30, -50, 0, 0, 0"}, 28, 5000},
      {{"rallentamento, 38900, 30, 200, 0, 0, 0"}, 26, 38900},
      {{"segnale, -100, 1,0,0,0,0,0,0,0,0,0"}, 26, -100},
      {{"rallentamento, 5000, 30, 400, 0, 0, 0", "abbattimento, 5050, 100"}, 7, 5050},
      {{"abbattimento, -100, 100"}, 26, -100},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    std::string text = "[generale]\r\n";
    for (std::string_view line : c.lines) (text += line) += "\r\n";
    const auto run = run_train(model, text);
    SCOPED_TRACE(c.code);
    EXPECT_FALSE(run.failed);
    EXPECT_TRUE(run.discarded);
    EXPECT_EQ(model.error_code, c.code);
    EXPECT_EQ(model.error_position, c.position);
  }
}

TEST(SignalRecords, ACode15OfTheLinePhaseEndsTheParseAtTheFirstPlacement) {
  ScenarioModel model = route_model();
  model.error_code = 15;
  model.error_position = 38950;
  const auto run = run_train(
      model, train_text({"vetture, 3", "segnale, 1850, 1,5,6,0,0,1,3,1,0,0", "sabbia, 300"}));
  EXPECT_TRUE(run.discarded);
  EXPECT_EQ(model.error_code, 15);
  EXPECT_EQ(model.error_position, 1850);
  EXPECT_EQ(model.item_table[kGeneralData].num_3, 3);
  EXPECT_EQ(model.route_cells[38].kind, kSignalCell);
  EXPECT_EQ(model.item_table[kTrainIdentity].small_1, 0);
  EXPECT_EQ(model.route_cells[0].speed_limit, 0);  // no end steps

  ScenarioModel quiet = route_model();
  quiet.error_code = 15;
  quiet.error_position = 38950;
  run_train(quiet, train_text({"velocita, 0, 50", "sabbia, 300"}));
  EXPECT_EQ(quiet.error_code, 15);
  EXPECT_EQ(quiet.error_position, 38950);
  EXPECT_EQ(quiet.route_cells[777].speed_limit, 10);
}

TEST(Abbattimento, TheCellThatBeginsAtThePosition) {
  const struct {
    std::string line;
    int cell;
    uint8_t kind;
    int16_t value_1;
  } cases[] = {
      {"abbattimento, 1000, 120", 20, kAbbattimentoValueCell, 120},
      {"abbattimento, 1000, 0", 20, kAbbattimentoCell, 5},  // value_1 stays as it was
      {"abbattimento, 1000, -7", 20, kAbbattimentoCell, 5},
      {"abbattimento, -25, 90", 0, kAbbattimentoValueCell, 90},  // -0.5 rounds to cell 0
      {"abbattimento, 1025, 90", 20, kAbbattimentoValueCell, 90},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    model.route_cells[c.cell].value_1 = 5;
    model.route_cells[c.cell].kind = kSpanMarkerCell;
    const auto run = run_train(model, train_text({c.line}));
    SCOPED_TRACE(c.line);
    EXPECT_FALSE(run.failed);
    EXPECT_EQ(model.error_code, 0);
    EXPECT_EQ(model.route_cells[c.cell].kind, c.kind);
    EXPECT_EQ(model.route_cells[c.cell].value_1, c.value_1);
  }
}

TEST(Abbattimento, AValueOutside16BitsFailsBeforeTheCellIsTouched) {
  for (const char* line : {"abbattimento, 1000, 32768", "abbattimento, 1000, -32769"}) {
    ScenarioModel model = route_model();
    const auto run = run_train(model, train_text({line}));
    EXPECT_TRUE(run.failed) << line;
    EXPECT_EQ(model.route_cells[20], RouteCell{}) << line;
  }
}

TEST(EndSteps, ProgressivesMustFallOnCellBoundaries) {
  const struct {
    int slot;
    int32_t num_1, num_2, num_3;
    int32_t code;
  } cases[] = {
      {kProgressiveUno, 0, 75700, 1, 0}, {kProgressiveTre, 25, 0, 0, 2},
      {kProgressiveDue, 0, 75725, 0, 2}, {kProgressiveUno, -50, -100, 7, 0},
      {kProgressiveUno, -25, 0, 0, 2},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    model.item_table[c.slot].num_1 = c.num_1;
    model.item_table[c.slot].num_2 = c.num_2;
    model.item_table[c.slot].num_3 = c.num_3;
    model.error_position = 77;
    run_train(model, "");
    EXPECT_EQ(model.error_code, c.code) << c.num_1 << " " << c.num_2;
    EXPECT_EQ(model.error_position, 77);
  }

  // After a code 15 the progressive check still runs, and its 2 replaces the
  // 15 while the position stays that of the record beyond the route.
  ScenarioModel model = route_model();
  model.item_table[kProgressiveTre].num_1 = 25;
  run_train(model, train_text({"velocita, 38950, 60"}));
  EXPECT_EQ(model.error_code, 2);
  EXPECT_EQ(model.error_position, 38950);
}

TEST(ErrorSite, PointsAtTheKeyFieldOfTheFailingRecord) {
  const struct {
    const char* what;
    std::string text;
    bool failed;
    int32_t line, column;
  } cases[] = {
      {"placement code",
       "[generale]\r\nsegnale, 5000, 1,0,0,0,0,0,0,0,0,0\r\n  segnale, 5000, "
       "1,0,0,0,0,0,0,0,0,0\r\n",
       false, 3, 3},
      {"after dash fields", "[generale]\r\n-- x --, abbattimento, -100, 5\r\n", false, 2, 10},
      {"a field too wide", "[generale]\r\nvetture, 2\r\nsabbia, 40000\r\n", true, 3, 1},
      {"a speed that does not fit, at the record that set it",
       "[generale]\r\nvelocita, 0, 2000\r\nvetture, 1\r\n", true, 2, 1},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    const auto run = run_train(model, c.text);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(run.failed, c.failed);
    EXPECT_EQ(model.error_site.description, Description::kTrain);
    EXPECT_EQ(model.error_site.line, c.line);
    EXPECT_EQ(model.error_site.column, c.column);
  }
}

}  // namespace
}  // namespace tracciato
