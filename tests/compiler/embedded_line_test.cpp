// The embedded line description, compiled with an empty train description.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "documents/document.h"
#include "line_fixture.h"

namespace tracciato::test_support {
namespace {

struct Sign {
  int32_t position;
  std::string text;
};

// The indication-sign rows of the document, in file order, split at their
// first two commas.
std::vector<Sign> document_signs() {
  std::vector<Sign> signs;
  for (std::string_view line : line_description_document()) {
    if (!line.starts_with("cartello_indicatore,")) continue;
    const size_t first = line.find(',');
    const size_t second = line.find(',', first + 1);
    std::string_view text = line.substr(second + 1);
    text.remove_prefix(text.find_first_not_of(' '));
    signs.push_back(
        {std::stoi(std::string(line.substr(first + 1, second - first - 1))), std::string(text)});
  }
  return signs;
}

class EmbeddedLine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    run_ = new LineRun(run_line(render_document(line_description_document())));
  }
  static void TearDownTestSuite() {
    delete run_;
    run_ = nullptr;
  }
  const ScenarioModel& model() const { return run_->model; }
  const RouteCell& cell(int i) const { return model().route_cells[static_cast<size_t>(i)]; }

  static LineRun* run_;
};

LineRun* EmbeddedLine::run_ = nullptr;

TEST_F(EmbeddedLine, CompilesWithoutAProblem) {
  EXPECT_EQ(model().error_code, 0);
  EXPECT_EQ(model().track_length, 39000);
  EXPECT_EQ(model().last_cell, 780);
  EXPECT_TRUE(run_->line_discarded);
  EXPECT_TRUE(run_->train_discarded);
}

// num_1, num_2, num_3 and name of an item entry.
struct Numbers {
  int32_t num_1, num_2, num_3;
  std::string name;
  friend bool operator==(const Numbers&, const Numbers&) = default;
};

Numbers numbers_of(const ItemRecord& item) {
  return {item.num_1, item.num_2, item.num_3, item.name};
}

TEST_F(EmbeddedLine, FixedItemSlots) {
  const auto& items = model().item_table;
  EXPECT_EQ(items[84].num_2, 32000);
  EXPECT_EQ(numbers_of(items[81]), (Numbers{0, 75800, 1, ""}));
  EXPECT_EQ(items[82], ItemRecord{});
  EXPECT_EQ(items[83], ItemRecord{});
  EXPECT_EQ(numbers_of(items[85]), (Numbers{1, 0, 0, "Tarvo_Belmira"}));
  // The second repetition value is 0, so the key's "4" is overridden.
  EXPECT_EQ(numbers_of(items[86]), (Numbers{0, 0, 0, "7351"}));
}

TEST_F(EmbeddedLine, SignsFillSlots80DownInFileOrder) {
  const std::vector<Sign> signs = document_signs();
  ASSERT_EQ(signs.size(), 37u);
  for (size_t i = 0; i < signs.size(); ++i) {
    const int slot = 80 - static_cast<int>(i);
    EXPECT_EQ(model().item_table[static_cast<size_t>(slot)].name, signs[i].text) << slot;
    const RouteCell& c = cell(signs[i].position / 50 + 1);
    EXPECT_EQ(c.kind, kIndicationSignCell) << signs[i].position;
    EXPECT_EQ(c.value_1, slot) << signs[i].position;
  }
  EXPECT_EQ(model().item_table[80].name, "( INIZIO )(VIADOTTO)( VERDAL )");
  EXPECT_EQ(model().item_table[73].name, "( CAVALCAVIA   )(STRADA STATALE)(  N\xB0 589      )");
  EXPECT_EQ(model().item_table[44].name, "(CAVALCAVIA)");
  EXPECT_EQ(model().item_table[43].name, "");
}

TEST_F(EmbeddedLine, MountainSpans) {
  EXPECT_EQ(model().span_count, 11);
  // Every span of the line is kind 2; only the first asks for markers over
  // more than three cells.
  const struct {
    int first, last;
  } spans[] = {{15, 25},   {38, 38},   {63, 63},   {71, 71},   {85, 85},  {461, 462},
               {486, 486}, {492, 492}, {515, 515}, {526, 526}, {556, 556}};
  std::vector<bool> in_span(781, false);
  for (const auto& s : spans) {
    for (int i = s.first; i <= s.last; ++i) in_span[static_cast<size_t>(i)] = true;
  }
  std::vector<int> markers;
  for (int i = 0; i <= 780; ++i) {
    EXPECT_EQ(cell(i).span_kind, in_span[static_cast<size_t>(i)] ? 2 : 0) << i;
    if (cell(i).kind == kSpanMarkerCell) markers.push_back(i);
  }
  EXPECT_EQ(markers, (std::vector<int>{18, 22}));
}

TEST_F(EmbeddedLine, SpeedIndicatorGroups) {
  const struct {
    int cell;
    int16_t v1, v2, v3, v4;
  } groups[] = {
      {16, 1313, 1515, 1515, 0},   {39, 2525, 2727, 2727, 0},  {463, 1500, 1500, 1500, 20},
      {467, 1500, 1500, 1500, 10}, {471, 1500, 1500, 1500, 0}, {520, 2800, 3000, 3000, 0},
  };
  for (const auto& g : groups) {
    EXPECT_EQ(cell(g.cell).kind, kSpeedIndicatorCell) << g.cell;
    EXPECT_EQ(cell(g.cell).value_1, g.v1) << g.cell;
    EXPECT_EQ(cell(g.cell).value_2, g.v2) << g.cell;
    EXPECT_EQ(cell(g.cell).value_3, g.v3) << g.cell;
    EXPECT_EQ(cell(g.cell).value_4, g.v4) << g.cell;
  }
}

TEST_F(EmbeddedLine, GradientOfEveryCell) {
  const struct {
    int first, last;
    uint8_t gradient;
  } runs[] = {
      {0, 7, 100},    {8, 22, 94},    {23, 66, 92},   {67, 167, 90},  {168, 217, 91},
      {218, 247, 92}, {248, 274, 94}, {275, 277, 92}, {278, 317, 91}, {318, 337, 92},
      {338, 367, 94}, {368, 422, 97}, {423, 462, 95}, {463, 502, 96}, {503, 576, 97},
      {577, 616, 96}, {617, 777, 94}, {778, 780, 0},
  };
  for (const auto& r : runs) {
    for (int i = r.first; i <= r.last; ++i) EXPECT_EQ(cell(i).gradient, r.gradient) << i;
  }
}

TEST_F(EmbeddedLine, TrackPolyline) {
  const TrackStore& track = model().track_points;
  ASSERT_EQ(track.rows(), 39001);
  EXPECT_EQ(track.start_rows()[1], (StartRow{0, 1}));
  // Straight up to the first curve, a left-hand one at 200 m.
  EXPECT_EQ(track.coordinate(200, 0), 0.0);
  EXPECT_EQ(track.coordinate(200, 1), 200.0);
  EXPECT_LT(track.coordinate(201, 0), 0.0);
  // Rows 38999 and 39000 are never written.
  EXPECT_EQ(track.written(), 38999);
}

TEST_F(EmbeddedLine, WithoutTrackFlagOnlyTheTrackIsMissing) {
  const LineRun plain = run_line(render_document(line_description_document()), 0);
  EXPECT_EQ(plain.model.error_code, 0);
  EXPECT_TRUE(plain.model.track_points.empty());
  EXPECT_EQ(plain.model.route_cells, model().route_cells);
  EXPECT_EQ(plain.model.item_table, model().item_table);
}

}  // namespace
}  // namespace tracciato::test_support
