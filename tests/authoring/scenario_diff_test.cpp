// The changes between two scenarios by meaning: the embedded scenario against
// copies with one record of each kind changed (or, for the kinds it has
// none of, added), each named by its record and field.
#include "authoring/scenario_diff.h"

#include <gtest/gtest.h>

#include <string>

#include "embedded_scenario.h"

namespace tracciato {
namespace {

using test_support::embedded_line_text;
using test_support::embedded_train_text;

ScenarioFiles compiled(const std::string& line, const std::string& train) {
  return *compile_in_memory(line, train, "Tarvo_Belmira", "7351", true);
}

std::string changed(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(ScenarioDiff, TheSameFilesHaveNoChange) {
  const ScenarioFiles a = compiled(embedded_line_text(), embedded_train_text());
  const ScenarioDiff diff = diff_scenarios(a, a);
  EXPECT_TRUE(diff.equal);
  EXPECT_TRUE(diff.changes.empty());
}

TEST(ScenarioDiff, OneRecordChangedInEachKindIsNamedByItsRecordAndField) {
  const struct {
    bool line;  // the change is in the line description, else the train's
    const char* from;
    const char* to;
    const char* change;  // one of the changes found
  } cases[] = {
      {true, "lunghezza percorso,    32000", "lunghezza percorso,    33000",
       "line length: length 32000 \xE2\x86\x92 33000 m"},
      {true, "uno,    0,    75700", "uno,    0,    75750",
       "kilometric progressive uno: value 75700 \xE2\x86\x92 75750 m"},
      {true, "sfondo tre,    0", "sfondo tre,    2", "background tre: background 0 \xE2\x86\x92 2"},
      {true, "codici,    0    ,0", "codici,    0    ,50",
       "signal repetition: second distance 0 \xE2\x86\x92 50 m"},
      {true, "curvad2,  1950,  1250", "curvad2,  1950,  1200",
       "curve at 1950 m: length 1250 \xE2\x86\x92 1200 m"},
      {true, "pendenza,  8400,   -9", "pendenza,  8400,   -7",
       "gradient at 8400 m: gradient -9 \xE2\x86\x92 -7 per mille"},
      {true, "montagna,   3150,  3200,  2", "montagna,   3150,  3250,  2",
       "mountain span at 3150 m: end 3200 \xE2\x86\x92 3250 m"},
      {true, "indicatori_vmax,  23300,  75", "indicatori_vmax,  23300,  80",
       "speed indicator group at 23300 m: vas 75 \xE2\x86\x92 80 km/h"},
      {true, "cartello_indicatore,  1800,   (CAVALCAVIA)",
       "cartello_indicatore,  1850,   (CAVALCAVIA)",
       "indication sign moved 1800 \xE2\x86\x92 1850 m"},
      {false, "numero vetture,    3", "numero vetture,    4", "coaches: coaches 3 \xE2\x86\x92 4"},
      {false, "frenata,    120", "frenata,    110",
       "braked mass: percentage 120 \xE2\x86\x92 110 %"},
      {false, "sabbia,    300", "sabbia,    250", "sand: sand 300 \xE2\x86\x92 250"},
      {false, "orologio,    13 ", "orologio,    14 ", "clock: hours 13 \xE2\x86\x92 14 h"},
      {false, "aderenza,   0,    100", "aderenza,   0,    90",
       "adhesion at 0 m: adhesion 100 \xE2\x86\x92 90"},
      {false, "velocita,   24350,    75", "velocita,   24350,    80",
       "speed limit at 24350 m: speed 75 \xE2\x86\x92 80 km/h"},
      {false, "stazione,   25200, 12", "stazione,   25300, 12",
       "station BELMIRA moved 25200 \xE2\x86\x92 25300 m"},
      {false, "segnale,    6850,   1, 4, 1", "segnale,    6850,   1, 5, 1",
       "signal at 6850 m: s1 4 \xE2\x86\x92 5"},
      {false, "[rallentamenti]\r\n",
       "[rallentamenti]\r\nrallentamento, 15000, 60, 400, 1, 1, 0\r\n",
       "slowdown at 15000 m added: rallentamento, 15000, 60, 400, 1, 1, 0"},
      {false, "[codici]\r\n", "[codici]\r\nabbattimento, 20000, 120\r\n",
       "abbattimento at 20000 m added: abbattimento, 20000, 120"},
  };
  const ScenarioFiles original = compiled(embedded_line_text(), embedded_train_text());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    const std::string line =
        c.line ? changed(embedded_line_text(), c.from, c.to) : embedded_line_text();
    const std::string train =
        c.line ? embedded_train_text() : changed(embedded_train_text(), c.from, c.to);
    const ScenarioDiff diff = diff_scenarios(original, compiled(line, train));
    EXPECT_FALSE(diff.equal);
    bool named = false;
    std::string all;
    for (const ScenarioChange& change : diff.changes) {
      named = named || change.text == c.change;
      all += change.text + "\n";
    }
    EXPECT_TRUE(named) << all;
  }
}

// Bytes no record explains are compared as fields.
TEST(ScenarioDiff, AFieldNoRecordExplainsIsShownAsItStands) {
  const ScenarioFiles a = compiled(embedded_line_text(), embedded_train_text());
  std::string cells = a.cell_bytes;
  cells[100 * 15 + 3] = 7;  // value_2 of an empty cell
  const ScenarioFiles b = decode_scenario_files(cells, a.item_bytes, a.track_bytes);
  const ScenarioDiff diff = diff_scenarios(a, b);
  ASSERT_EQ(diff.changes.size(), 1u);
  EXPECT_EQ(diff.changes[0].text,
            "cell file, cell 100 (4950 m): value_2 0 \xE2\x86\x92 7 (no record explains it)");
}

}  // namespace
}  // namespace tracciato
