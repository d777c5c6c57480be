#include "authoring/inspect_report.h"

#include <gtest/gtest.h>

#include "embedded_scenario.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

DecodedScenarioFile embedded(ScenarioFileKind kind) {
  const auto model = test_support::compile_embedded();
  switch (kind) {
    case ScenarioFileKind::kCell:
      return decode_scenario_file(kind, encode_cell_file(*model));
    case ScenarioFileKind::kItem:
      return decode_scenario_file(kind, encode_item_file(*model));
    case ScenarioFileKind::kTrack:
      break;
  }
  return decode_scenario_file(kind, encode_track_file(*model));
}

InspectOptions range(int64_t first, int64_t last, bool nonzero = false) {
  return {RecordRange{first, last}, nonzero};
}

TEST(InspectReport, ParsesRecordRanges) {
  const struct {
    const char* text;
    std::optional<RecordRange> range;
  } cases[] = {
      {"36..38", RecordRange{36, 38}}, {"7", RecordRange{7, 7}}, {"0..0", RecordRange{0, 0}},
      {"38..36", std::nullopt},        {"..5", std::nullopt},    {"5..", std::nullopt},
      {"-1..5", std::nullopt},         {"a..b", std::nullopt},   {"5...7", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = parse_record_range(c.text);
    ASSERT_EQ(parsed.has_value(), c.range.has_value());
    if (parsed) {
      EXPECT_EQ(parsed->first, c.range->first);
      EXPECT_EQ(parsed->last, c.range->last);
    }
  }
}

// The signal at 1850 m with its approach codes, each unpacked.
TEST(InspectReport, CellTableNamesKindsAndUnpacksValues) {
  EXPECT_EQ(inspect_table(embedded(ScenarioFileKind::kCell), range(34, 39)),
            "cell file: 781 cells, 0 to 780\n"
            " cell  from_m kind  val_1  val_2  val_3  val_4 time appr span km/h grad adh  object\n"
            "   34    1650    0      0      0      0      0    0   42    0   75   -8 100  approach "
            "2 to a signal with sx 1, dx 1\n"
            "   35    1700    0      0      0      0      0    0    0    0   75   -8 100\n"
            "   36    1750    0      0      0      0      0    0   41    0   75   -8 100  approach "
            "1 to a signal with sx 1, dx 1\n"
            "   37    1800   14     78      0      0      0    0    0    0   75   -8 100  "
            "indication sign: sign entry 78\n"
            "   38    1850    1     53     61      0      4    0    0    2  135   -8 100  signal: "
            "s 5 6 0, d 3 1 0, sx 1, dx 1, rapp 0\n"
            "   39    1900    6   2525   2727   2727      0    0    0    0  135   -8 100  speed "
            "indicators: A 125/125, B 135/135, C 135/135 km/h, stripes 0/0\n");
}

TEST(InspectReport, NonzeroLeavesOutCellsWithNoObjectOrApproachCode) {
  EXPECT_EQ(inspect_table(embedded(ScenarioFileKind::kCell), range(5, 9, true)),
            "cell file: 781 cells, 0 to 780\n"
            " cell  from_m kind  val_1  val_2  val_3  val_4 time appr span km/h grad adh  object\n"
            "    5     200    0      0      0      0      0    0   81    0   75    0 100  approach "
            "1 to a stop (or to a signal with sx 2, dx 2)\n"
            "    6     250   10      1      0      0      0    0    0    0   75    0 100  station "
            "stop: station entry 1\n");
}

TEST(InspectReport, ItemTableGivesEachEntryItsRole) {
  const std::string header =
      "item file: 87 entries, 0 to 86\n"
      "entry role         kind    num_1    num_2    num_3 flag  sml_1  sml_2  sml_3  sml_4  sml_5 "
      "b_1 b_2 b_3 b_4    num_4  name / meaning\n";
  EXPECT_EQ(inspect_table(embedded(ScenarioFileKind::kItem), range(4, 7)),
            header +
                "    4 station        12    12950    13450    13200    0      1      1      4      "
                "1      1   0  30   0   0    47760  \"LAVRETTO\"; kind 12 at 13200 m, span "
                "12950..13450 m, 13:16:00\n"
                "    5 station        12    18200    18750    18450    1      4      1      2      "
                "1      1   1 222   1   0        0  \"VALLORENE\"; kind 12 at 18450 m, span "
                "18200..18750 m, 00:00:00\n"
                "    6 station        12    24900    25500    25200    1      1      1      2      "
                "1      1   0   0   0   0    48420  \"BELMIRA\"; kind 12 at 25200 m, span "
                "24900..25500 m, 13:27:00\n"
                "    7 free            0        0        0        0    0      0      0      0      "
                "0      0   0   0   0   0        0\n");
  EXPECT_EQ(inspect_table(embedded(ScenarioFileKind::kItem), range(80, 86, true)),
            header +
                "   80 sign            0        0        0        0    0      0      0      0      "
                "0      0   0   0   0   0        0  \"( INIZIO )(VIADOTTO)( VERDAL )\"\n"
                "   81 progressive     0        0    75800        1    0      0      0      0      "
                "0      0   0   0   0   0        0  at 0 m, kilometric 75800 m, flag 1\n"
                "   84 general data    0      120    32000        3    0      0      0      0      "
                "0      0   0   0   0   0        0  line 32000 m, braked mass 120 %, 3 coaches\n"
                "   85 line            0        1        0        0    0    610      0      0      "
                "0      0   0   0   0   0    32595  \"Tarvo_Belmira\"; backgrounds 1 0 0 (uno due "
                "tre), reserved 610, weighted competition code 32595\n"
                "   86 train           0        0        0        0    0    300      0     13      "
                "4     30   0   0   0   0        0  \"7351\"; signal repetition 0 m / 0 m, 0 "
                "codes, sand 300, clock 13:4:30\n");
}

TEST(InspectReport, TrackTableTellsIntegersFromReals) {
  EXPECT_EQ(inspect_table(embedded(ScenarioFileKind::kTrack), range(0, 2)),
            "track file: 39001 points, metres 0 to 39000\n"
            "  metre  x                        y\n"
            "      0  0 (int)                  0 (int)\n"
            "      1  0 (int)                  1 (int)\n"
            "      2  0.0                      2.0\n");
  EXPECT_EQ(inspect_table(embedded(ScenarioFileKind::kTrack), range(38998, 39000, true)),
            "track file: 39001 points, metres 0 to 39000\n"
            "  metre  x                        y\n"
            "  38998  -5605.845293493943       31749.882995206382\n");
}

// A JSON that is not a whole file must not turn into a file.
TEST(InspectReport, RefusesJsonThatIsNotAWholeFile) {
  const std::string cells = inspect_json(embedded(ScenarioFileKind::kCell), {});
  const auto replaced = [&](std::string_view from, std::string_view to) {
    std::string text = cells;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const struct {
    const char* what;
    std::string json;
    const char* message;
  } cases[] = {
      {"not JSON", "{", "not a JSON object"},
      {"unknown format", R"({"format": "map"})", "\"format\" is none of cell, item, track"},
      {"a range of cells", inspect_json(embedded(ScenarioFileKind::kCell), range(3, 4)),
       "cell record 0: out of sequence: a whole file lists every record in order"},
      {"a value beyond its field", replaced("\"value_1\": 5121", "\"value_1\": 40000"),
       "cell record 1: \"value_1\" 40000 does not fit its field"},
      {"a missing field", replaced("\"adhesion\": 100", "\"adhesio\": 100"),
       "cell record 0: no whole number \"adhesion\""},
      {"too few items", inspect_json(embedded(ScenarioFileKind::kItem), range(0, 85)),
       "an item file has 87 records; the JSON holds 86"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      decoded_file_from_json(c.json);
      ADD_FAILURE() << "accepted";
    } catch (const DecodeError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

// The records view changes a line or two for one changed record: a stretch
// field in runs of one value, each object on its own line, the track as its
// curves.
TEST(InspectReport, RecordsShowRunsObjectsAndCurves) {
  const std::string cells = inspect_records(embedded(ScenarioFileKind::kCell));
  EXPECT_TRUE(
      cells.starts_with("cell file: 781 cells, 0 to 780\n"
                        "gradient 0: cells 0..7 (from -50 m)\n"
                        "gradient -6: cells 8..22 (from 350 m)\n"));
  EXPECT_NE(cells.find("\nspeed limit 75 km/h: cells 0..37 (from -50 m)\n"), std::string::npos);
  EXPECT_NE(cells.find("\ncell 38 (1850 m): signal: s 5 6 0, d 3 1 0, sx 1, dx 1, rapp 0\n"),
            std::string::npos);
  const std::string track = inspect_records(embedded(ScenarioFileKind::kTrack));
  EXPECT_TRUE(
      track.starts_with("track file: metres 0 to 39000, written to metre 38998\n"
                        "left curve of class 2 from metre 200, 150 m long\n"
                        "left curve of class 3 from metre 350, 100 m long\n"));
  const std::string items = inspect_records(embedded(ScenarioFileKind::kItem));
  EXPECT_EQ(items, inspect_table(embedded(ScenarioFileKind::kItem), {std::nullopt, true}));
}

}  // namespace
}  // namespace tracciato
