#include "compiler/line_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_fixture.h"

namespace tracciato::test_support {
namespace {

std::string repeated(std::string_view line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) (text += line) += "\r\n";
  return text;
}

TEST(LineParser, CodesThatEndTheRunAndWhichDescriptionsGo) {
  const struct {
    const char* name;
    std::optional<std::string> line;
    int32_t code;
    bool line_discarded;
    bool train_discarded;
  } cases[] = {
      {"missing description", std::nullopt, 101, false, false},
      {"empty description: a read past the end", "", 25, true, true},
      {"no [generale]", crlf_lines({"[x]", "lunghezza percorso, 1000", ""}), 102, true, false},
      {"[generale] as the last field", crlf_lines({"abc", "[generale]"}), 102, true, false},
      {"length above 1,000,000", crlf_lines({"[generale]", "lunghezza percorso, 1000001", ""}), 1,
       true, false},
      {"negative length", crlf_lines({"[generale]", "lunghezza percorso, -1", ""}), 1, true, false},
      {"first repetition value", crlf_lines({"[generale]", "ripetizione segnali 4, 25, 0", ""}), 3,
       true, false},
      {"first repetition value -25",
       crlf_lines({"[generale]", "ripetizione segnali 4, -25, 0", ""}), 3, true, false},
      {"second repetition value", crlf_lines({"[generale]", "ripetizione segnali 4, 50, 75", ""}),
       4, true, false},
      {"no repetition system", crlf_lines({"[generale]", "ripetizione segnali, 50, 50", ""}), 5,
       true, false},
      {"a number that is text", crlf_lines({"[generale]", "lunghezza percorso, mille", ""}), 25,
       true, true},
      {"a whole description", line_with({"pendenza, 500, 3"}), 0, true, true},
  };
  for (const auto& c : cases) {
    const LineRun run = run_line(c.line);
    EXPECT_EQ(run.model.error_code, c.code) << c.name;
    EXPECT_EQ(run.line_discarded, c.line_discarded) << c.name;
    EXPECT_EQ(run.train_discarded, c.train_discarded) << c.name;
  }
}

TEST(LineParser, GeneralSectionFillsTheFixedSlots) {
  const LineRun run = run_line(crlf_lines({
      "[generale]",
      "LUNGHEZZA Percorso,    25",  // any case
      "progressiva chilometrica uno,    0,    75700,    1",
      "sfondo uno,    1",
      "sfondo due,    2",
      "sfondo tre,    3",
      "ripetizione segnali 9 codici,    -50    ,100",
      "[curve]",
      "",
  }));
  ASSERT_EQ(run.model.error_code, 0);
  const auto& items = run.model.item_table;
  EXPECT_EQ(items[84].num_2, 25);
  EXPECT_EQ(run.model.last_cell, 140);  // 7025 / 50 = 140.5 rounds to even
  EXPECT_EQ(items[81].num_1, 0);
  EXPECT_EQ(items[81].num_2, 75800);
  EXPECT_EQ(items[81].num_3, 1);
  // The backgrounds go uno, tre, due into num_1, num_2, num_3.
  EXPECT_EQ(items[85].num_1, 1);
  EXPECT_EQ(items[85].num_2, 3);
  EXPECT_EQ(items[85].num_3, 2);
  EXPECT_EQ(items[85].name, "Tarvo_Belmira");
  EXPECT_EQ(items[86].num_1, -50);
  EXPECT_EQ(items[86].num_2, 100);
  EXPECT_EQ(items[86].num_3, 9);
  EXPECT_EQ(items[86].name, "7351");
}

TEST(LineParser, GeneralKeyTests) {
  const struct {
    const char* name;
    std::string line;
    int32_t slot_81_num_2;  // after ordering and the +100 of flagged records
    int32_t slot_86_num_3;
  } cases[] = {
      {"progressive key is exact case: its numbers become keys",
       crlf_lines(
           {"[generale]", "lunghezza percorso, 1000", "PROGRESSIVA uno, 0, 700, 1", "[x]", ""}),
       0, 0},
      {"one key field, two records",
       crlf_lines({"[generale]", "lunghezza percorso, 1000",
                   "progressiva uno due, 0, 700, 1, 0, 900, 0", "[x]", ""}),
       900, 0},
      {"repetition with 4 and 9: 4 is tested first",
       crlf_lines({"[generale]", "lunghezza percorso, 1000", "ripetizione segnali 9 4, 50, 50",
                   "[x]", ""}),
       0, 4},
      {"second repetition value 0 overrides the system",
       crlf_lines(
           {"[generale]", "lunghezza percorso, 1000", "ripetizione segnali 4, 50, 0", "[x]", ""}),
       0, 0},
      {"a second length record replaces the route",
       crlf_lines(
           {"[generale]", "lunghezza percorso, 5000", "lunghezza percorso, 1000", "[x]", ""}),
       0, 0},
  };
  for (const auto& c : cases) {
    const LineRun run = run_line(c.line);
    EXPECT_EQ(run.model.error_code, 0) << c.name;
    EXPECT_EQ(run.model.item_table[81].num_2, c.slot_81_num_2) << c.name;
    EXPECT_EQ(run.model.item_table[86].num_3, c.slot_86_num_3) << c.name;
    EXPECT_EQ(run.model.last_cell, 160) << c.name;
  }
}

// A general section whose fields come after `dashes` comment fields. The
// length key carries a dash itself, so it is a key only as the field tested
// after the last allowed comment; otherwise the route is never sized.
TEST(LineParser, DashFieldsBeforeAKey) {
  const struct {
    const char* name;
    std::string line;
    int32_t code;
  } cases[] = {
      {"10 comment fields in the general section",
       "[generale]\r\n" + repeated("-", 10) + "lunghezza-percorso, 1000\r\n[x]\r\n\r\n", 0},
      {"11 comment fields: the 11th is the key",
       "[generale]\r\n" + repeated("-", 11) + "lunghezza-percorso, 1000\r\n[x]\r\n\r\n", 25},
      {"running out of fields among the comments", "[generale]\r\n-\r\n-\r\n", 25},
  };
  for (const auto& c : cases) EXPECT_EQ(run_line(c.line).model.error_code, c.code) << c.name;
}

TEST(LineParser, DashFieldsBeforeAFeatureKey) {
  const struct {
    const char* name;
    std::string line;
    uint8_t gradient_at_20;
  } cases[] = {
      {"two comment fields", line_with({"- commento -", "---", "pendenza-x, 500, 5"}), 105},
      {"three comment fields: the third is the key",
       line_with({"-", "-", "-", "pendenza-x, 500, 5"}), 100},
      {"capital letters", line_with({"PENDENZA, 500, 5"}), 105},
      {"a heading is no key", line_with({"[pendenze]", "pendenza, 500, 5"}), 105},
      {"a key read at the end of the file is never interpreted",
       crlf_lines({"[generale]", "lunghezza percorso, 1000", "[x]", "pendenza, 500, 5"}) +
           "pendenza",
       105},
      {"values that reach the end are used",
       crlf_lines({"[generale]", "lunghezza percorso, 1000", "[x]"}) + "pendenza, 500, 5", 105},
  };
  for (const auto& c : cases) {
    const LineRun run = run_line(c.line);
    ASSERT_EQ(run.model.error_code, 0) << c.name;
    EXPECT_EQ(run.model.route_cells[20].gradient, c.gradient_at_20) << c.name;
  }
}

// The length record after the candidate field is read only while the
// general section is still open.
TEST(LineParser, SectionEndField) {
  const struct {
    const char* name;
    std::string_view field;
    bool ends_section;
  } cases[] = {
      {"heading", "[curve]", true},
      {"brackets anywhere", "a]b[c", true},
      {"no closing bracket", "[curve", false},
      {"begins with a dash", "-[x]", false},
      {"a dash after leading blanks", "\"  -[x]\"", false},
      {"a dash after a leading tab", "\"\t-[x]\"", false},
      {"a dash inside", "[a-b]", true},
  };
  for (const auto& c : cases) {
    // Ten comment fields first, so that a field with a dash is tested.
    const std::string line = "[generale]\r\n" + repeated("-", 10) + std::string(c.field) +
                             "\r\nlunghezza percorso, 1000\r\n\r\n";
    const LineRun run = run_line(line, 0);
    EXPECT_EQ(run.model.has_route(), !c.ends_section) << c.name;
  }
}

TEST(LineParser, GeneralSectionRunningToTheEndStillGoesOn) {
  const LineRun run = run_line(
      crlf_lines({"[generale]", "progressiva uno, 0, 700, 1", "lunghezza percorso, 1000"}));
  EXPECT_EQ(run.model.error_code, 0);
  EXPECT_EQ(run.model.item_table[81].num_2, 800);  // ordered
  EXPECT_EQ(run.model.route_cells[157].gradient, 100);
  EXPECT_TRUE(run.train_discarded);
}

TEST(LineParser, GradientFill) {
  const struct {
    const char* name;
    std::string line;
    std::vector<std::pair<int, uint8_t>> cells;  // cell, gradient byte
  } cases[] = {
      {"a first record at 0 fills nothing, the second takes over at its cell",
       line_with({"pendenza,   0,    0", "pendenza,  400,   -6"}),
       {{0, 100}, {7, 100}, {8, 94}, {157, 94}, {158, 0}, {160, 0}}},
      {"two records in one cell: the earlier still gets that cell",
       line_with({"pendenza, 400, -6", "pendenza, 410, -8"}),
       {{7, 100}, {8, 94}, {9, 92}}},
      {"475 m rounds to cell 10", line_with({"pendenza, 475, 5"}), {{9, 100}, {10, 105}}},
      {"no record: the tail writes 100", line_with({}), {{0, 100}, {157, 100}, {158, 0}}},
      {"only the low 8 bits are stored",
       line_with({"pendenza, 0, -101", "pendenza, 100, 200"}),
       {{0, 255}, {1, 255}, {2, 44}}},
      // Each record at the last accepted position writes one more cell; the
      // fill stops at last_cell, and the tail's one write lands there.
      {"records pushing the fill to the end of the route",
       line_with({
           "pendenza, 7900, 1",
           "pendenza, 7900, 2",
           "pendenza, 7900, 3",
           "pendenza, 7900, 4",
           "pendenza, 7900, 5",
           "pendenza, 7900, 6",
       }),
       {{157, 100}, {158, 101}, {159, 102}, {160, 106}}},
  };
  for (const auto& c : cases) {
    const LineRun run = run_line(c.line);
    ASSERT_EQ(run.model.error_code, 0) << c.name;
    for (const auto& [cell, gradient] : c.cells) {
      EXPECT_EQ(run.model.route_cells[static_cast<size_t>(cell)].gradient, gradient)
          << c.name << " cell " << cell;
    }
  }
}

TEST(LineParser, PositionsBeyondTheRoute) {
  // last_cell 160: a feature needs p + 100 <= 8000.
  const struct {
    const char* name;
    std::string line;
    int32_t code;
    int32_t position;
    bool second_sign_placed;
  } cases[] = {
      {"last accepted position",
       line_with({"cartello_indicatore, 7900, (A)", "cartello_indicatore, 100, (B)"}), 0, 0, true},
      {"first refused position: the rest is skipped, the train still read",
       line_with({"cartello_indicatore, 7950, (A)", "cartello_indicatore, 100, (B)"}), 15, 7950,
       false},
      {"gradient", line_with({"pendenza, 8000, 3", "cartello_indicatore, 100, (B)"}), 15, 8000,
       false},
      {"curve start", line_with({"curvad1, 7950, 10", "cartello_indicatore, 100, (B)"}), 15, 7950,
       false},
      {"span start", line_with({"montagna, 7950, 7950, 2", "cartello_indicatore, 100, (B)"}), 15,
       7950, false},
      {"indicator group",
       line_with({"indicatori_v, 7950, 1,1,1,1,1,1,1,1", "cartello_indicatore, 100, (B)"}), 15,
       7950, false},
      {"p + 100 overflows", line_with({"pendenza, 2147483600, 3"}), 25, 0, false},
  };
  for (const auto& c : cases) {
    const LineRun run = run_line(c.line);
    EXPECT_EQ(run.model.error_code, c.code) << c.name;
    EXPECT_EQ(run.model.error_position, c.position) << c.name;
    EXPECT_EQ(run.model.route_cells[3].kind == kIndicationSignCell, c.second_sign_placed) << c.name;
    EXPECT_TRUE(run.line_discarded) << c.name;
    EXPECT_TRUE(run.train_discarded) << c.name;
  }
  // After a code 15 the gradient tail still runs.
  const LineRun run = run_line(line_with({"pendenza, 500, 4", "pendenza, 7950, 9"}));
  EXPECT_EQ(run.model.route_cells[157].gradient, 104);
}

TEST(LineParser, NoRouteBeforeTheFeatures) {
  const struct {
    const char* name;
    std::string line;
    int32_t track_flag;
  } cases[] = {
      {"the track needs its rows", crlf_lines({"[generale]", "[x]", ""}), 1},
      {"the gradient tail needs the cells", crlf_lines({"[generale]", "[x]", ""}), 0},
      {"a position check needs last_cell", crlf_lines({"[generale]", "[x]", "pendenza, 0, 0", ""}),
       0},
  };
  for (const auto& c : cases) {
    const LineRun run = run_line(c.line, c.track_flag, std::string(), 777);
    EXPECT_EQ(run.model.error_code, 25) << c.name;
    EXPECT_EQ(run.model.error_position, 777) << c.name;
    EXPECT_FALSE(run.model.has_route()) << c.name;
    EXPECT_TRUE(run.line_discarded) << c.name;
    EXPECT_TRUE(run.train_discarded) << c.name;
  }
}

TEST(LineParser, IndicationSigns) {
  const LineRun run = run_line(line_with({
      "cartello_indicatore,  475,   (UNO)   ",
      "CARTELLO INDICATORE, 600, \"(DUE, TRE)\"",
      "montagna, 750, 1300, 12",
      "cartello_indicatore, 850, (SU MARCATORE)",
  }));
  ASSERT_EQ(run.model.error_code, 0);
  const auto& cells = run.model.route_cells;
  const auto& items = run.model.item_table;
  EXPECT_EQ(cells[10].kind, kIndicationSignCell);  // 475 / 50 + 1 = 10.5 -> 10
  EXPECT_EQ(cells[10].value_1, 80);
  EXPECT_EQ(items[80].name, "(UNO)");
  EXPECT_EQ(cells[13].value_1, 79);
  EXPECT_EQ(items[79].name, "(DUE, TRE)");
  // 850 m is cell 18, a span marker: the sign replaces it.
  EXPECT_EQ(cells[18].kind, kIndicationSignCell);
  EXPECT_EQ(cells[18].value_1, 78);
  EXPECT_EQ(cells[18].span_kind, 2);
  EXPECT_EQ(items[78].name, "(SU MARCATORE)");
  EXPECT_EQ(items[77].name, "");
}

TEST(LineParser, RefusedSigns) {
  std::string eighty_signs;
  for (int i = 0; i < 80; ++i)
    eighty_signs += "cartello_indicatore, " + std::to_string(i * 50) + ", (S)\r\n";
  const struct {
    const char* name;
    std::string line;
    int32_t code;
    int32_t position;
  } cases[] = {
      {"same cell twice",
       line_with({"cartello_indicatore, 425, (A)", "cartello_indicatore, 475, (B)"}), 6, 475},
      {"on an indicator group",
       line_with({"indicatori_v, 500, 0,0,0,0,0,0,0,0", "cartello_indicatore, 500, (B)"}), 6, 500},
      {"lowest position that is still cell 0", line_with({"cartello_indicatore, -75, (A)"}), 0, 0},
      {"a cell before cell 0", line_with({"cartello_indicatore, -76, (A)"}), 26, -76},
      {"an 81st sign", line_with({eighty_signs, "cartello_indicatore, 4000, (S)"}, 5000), 29, 4000},
      {"a text too long for the item file",
       line_with({"cartello_indicatore, 0, " + std::string(65536, 'x')}), 25, 0},
  };
  for (const auto& c : cases) {
    const LineRun run = run_line(c.line);
    EXPECT_EQ(run.model.error_code, c.code) << c.name;
    EXPECT_EQ(run.model.error_position, c.position) << c.name;
  }
}

TEST(LineParser, PlacementCodesEndTheRunAtTheRecordsPosition) {
  std::string spans;
  for (int i = 0; i < 80; ++i)
    spans += "montagna, " + std::to_string(i * 50) + ", " + std::to_string(i * 50) + ", 2\r\n";
  const struct {
    const char* name;
    std::string line;
    int32_t code;
    int32_t position;
    int32_t span_count;
  } cases[] = {
      {"indicator group on a sign",
       line_with({"cartello_indicatore, 750, (A)", "indicatori_vmax, 750, 1,1,1,0,1,1,1,0"}), 21,
       750, 0},
      {"indicator group before cell 0", line_with({"indicatori_vmax, -100, 1,1,1,0,1,1,1,0"}), 26,
       -100, 0},
      {"span starting before cell 0", line_with({"montagna, -100, 200, 2"}), 26, -100, 0},
      {"span ending beyond last_cell", line_with({"montagna, 7800, 8100, 2"}), 26, 7800, 0},
      {"an 81st span", line_with({spans, "montagna, 4000, 4100, 2"}, 5000), 27, 4000, 80},
  };
  for (const auto& c : cases) {
    const LineRun run = run_line(c.line);
    EXPECT_EQ(run.model.error_code, c.code) << c.name;
    EXPECT_EQ(run.model.error_position, c.position) << c.name;
    EXPECT_EQ(run.model.span_count, c.span_count) << c.name;
    EXPECT_TRUE(run.line_discarded) << c.name;
    EXPECT_FALSE(run.train_discarded) << c.name;
  }
}

TEST(LineParser, OneKeyFieldRunsEveryMatchingRecord) {
  // "pendenza montagna" reads a gradient record, then a span record.
  const LineRun run = run_line(line_with({"pendenza montagna, 500, 3, 750, 1300, 2"}));
  ASSERT_EQ(run.model.error_code, 0);
  EXPECT_EQ(run.model.route_cells[10].gradient, 103);
  EXPECT_EQ(run.model.route_cells[15].span_kind, 2);
  EXPECT_EQ(run.model.span_count, 1);
}

TEST(LineParser, ErrorSiteIsTheRecordsKeyField) {
  const struct {
    const char* name;
    std::optional<std::string> line;
    int32_t code;
    ErrorSite site;
  } cases[] = {
      {"missing description", std::nullopt, 101, {Description::kLine, 0, 0}},
      {"refused sign",
       line_with({"cartello_indicatore, 100, (A)", "  cartello_indicatore, 100, (B)"}),
       6,
       {Description::kLine, 5, 3}},
      {"beyond the route", line_with({"-", "pendenza, 9000, 0"}), 15, {Description::kLine, 5, 1}},
      {"placement code", line_with({"montagna, -100, 200, 2"}), 26, {Description::kLine, 4, 1}},
      {"repetition",
       crlf_lines({"[generale]", "x, ripetizione segnali, 50, 50", ""}),
       5,
       {Description::kLine, 2, 4}},
      {"run-time failure in a record",
       line_with({"pendenza, 1.5, 0"}),
       25,
       {Description::kLine, 4, 1}},
  };
  for (const auto& c : cases) {
    const LineRun run = run_line(c.line);
    EXPECT_EQ(run.model.error_code, c.code) << c.name;
    EXPECT_EQ(run.model.error_site.description, c.site.description) << c.name;
    EXPECT_EQ(run.model.error_site.line, c.site.line) << c.name;
    EXPECT_EQ(run.model.error_site.column, c.site.column) << c.name;
  }
}

TEST(MemorizzaDati, TrainPhaseFailureDiscardsBothDescriptions) {
  const LineRun run = run_line(line_with({"pendenza, 500, 3"}), 1, std::nullopt);
  EXPECT_EQ(run.model.error_code, 25);
  EXPECT_EQ(run.model.error_site.description, Description::kTrain);
  EXPECT_TRUE(run.line_discarded);
  EXPECT_TRUE(run.train_discarded);
  // What the line phase wrote stays.
  EXPECT_EQ(run.model.route_cells[10].gradient, 103);
}

}  // namespace
}  // namespace tracciato::test_support
