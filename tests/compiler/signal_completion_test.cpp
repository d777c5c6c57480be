#include "compiler/signal_completion.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "compiler/compile.h"
#include "train_fixture.h"

namespace tracciato {
namespace {

using test_support::route_model;

// Cells to set before the pass: index -> kind (and value_1).
struct Placed {
  int32_t cell;
  uint8_t kind;
  int16_t value_1 = 0;
};

ScenarioModel completed(std::initializer_list<Placed> placed, int32_t length = 32000) {
  ScenarioModel model = route_model(length);
  for (const Placed& p : placed) {
    model.route_cells[p.cell].kind = p.kind;
    model.route_cells[p.cell].value_1 = p.value_1;
  }
  complete_signalling(model);
  return model;
}

// The cells that hold an abbattimento value of 180 after the pass.
std::vector<int32_t> marks(const ScenarioModel& model) {
  std::vector<int32_t> cells;
  for (size_t i = 0; i < model.route_cells.size(); ++i) {
    const RouteCell& cell = model.route_cells[i];
    if (cell.kind == kAbbattimentoValueCell && cell.value_1 == 180)
      cells.push_back(static_cast<int32_t>(i));
  }
  return cells;
}

using Cells = std::vector<int32_t>;

TEST(Minimo, ReturnsTheSmallerAndXOnATie) {
  EXPECT_EQ(minimo<int16_t>(180, 120), 120);
  EXPECT_EQ(minimo<int16_t>(180, 250), 180);
  EXPECT_EQ(minimo<int16_t>(180, -5), -5);
  EXPECT_EQ(minimo(180, 180), 180);
}

TEST(CompleteSignalling, ARouteWithoutSlowdownsIsLeftAlone) {
  ScenarioModel model = route_model();
  model.route_cells[50].kind = kSignalCell;
  model.route_cells[60].kind = kSlowdownEndCell;
  const std::vector<RouteCell> before = model.route_cells;
  complete_signalling(model);
  EXPECT_EQ(model.route_cells, before);
  EXPECT_EQ(model.error_code, 0);
}

TEST(CompleteSignalling, SignalsBeforeAWarningBoard) {
  const struct {
    const char* what;
    std::vector<Placed> placed;  // the warning board is at cell 100
    Cells expected_marks;
    std::map<int32_t, int16_t> values;  // other value_1 expectations
    int32_t code, position;
  } cases[] = {
      {"two signals, each gets a mark", {{90, kSignalCell}, {85, kSignalCell}}, {84, 89}, {}, 0, 0},
      {"nearer cell busy, the next one is marked",
       {{90, kSignalCell}, {89, kStationStopCell}},
       {88},
       {},
       0,
       0},
      {"a lower value is kept",
       {{90, kSignalCell}, {89, kAbbattimentoValueCell, 120}, {88, kStationStopCell}},
       {},
       {{89, 120}},
       0,
       0},
      {"a higher value is lowered to 180",
       {{90, kSignalCell}, {89, kAbbattimentoValueCell, 250}, {88, kStationStopCell}},
       {89},
       {},
       0,
       0},
      {"the farther abbattimento when the nearer cell holds something else",
       {{90, kSignalCell}, {89, kStationStopCell}, {88, kAbbattimentoValueCell, 200}},
       {88},
       {},
       0,
       0},
      {"no room records 11 at the signal",
       {{90, kSignalCell}, {89, kStationStopCell}, {88, kIndicationSignCell}},
       {},
       {},
       11,
       4500},
      {"a span marker is free", {{90, kSignalCell}, {89, kSpanMarkerCell}}, {89}, {}, 0, 0},
      {"20 cells back is the limit", {{80, kSignalCell}, {79, kSignalCell}}, {78}, {}, 0, 0},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    model.route_cells[100].kind = kSlowdownWarningCell;
    for (const Placed& p : c.placed) {
      model.route_cells[p.cell].kind = p.kind;
      model.route_cells[p.cell].value_1 = p.value_1;
    }
    complete_signalling(model);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(marks(model), c.expected_marks);
    for (const auto& [cell, value] : c.values) EXPECT_EQ(model.route_cells[cell].value_1, value);
    EXPECT_EQ(model.error_code, c.code);
    EXPECT_EQ(model.error_position, c.position);
  }
}

TEST(CompleteSignalling, AWarningNearTheOriginLooksDownToCell3) {
  const ScenarioModel model =
      completed({{10, kSlowdownWarningCell}, {3, kSignalCell}, {2, kSignalCell}});
  EXPECT_EQ(marks(model), (Cells{1}));
}

TEST(CompleteSignalling, ApproachDistancesBeforeASlowdownStart) {
  const struct {
    std::vector<Placed> placed;  // slowdowns at 110 km/h: no walk
    Cells expected_marks;
    int32_t code, position;
  } cases[] = {
      {{{10, kSlowdownStartCell, 110}}, {5}, 0, 0},
      {{{14, kSlowdownStartCell, 110}}, {3, 9}, 0, 0},
      {{{21, kSlowdownStartCell, 110}}, {3, 10, 16}, 0, 0},
      {{{7, kSlowdownStartCell, 110}}, {}, 0, 0},
      // Busy candidates pass the mark on; an abbattimento is busy too.
      {{{30, kSlowdownStartCell, 110}, {25, kSignalCell}, {24, kAbbattimentoValueCell, 90}},
       {12, 19, 23},
       0,
       0},
      {{{30, kSlowdownStartCell, 110}, {17, kSignalCell}, {18, kSignalCell}, {19, kSignalCell}},
       {12, 25},
       12,
       1500},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    for (const Placed& p : c.placed) {
      model.route_cells[p.cell].kind = p.kind;
      model.route_cells[p.cell].value_1 = p.value_1;
    }
    complete_signalling(model);
    SCOPED_TRACE(c.placed.front().cell);
    EXPECT_EQ(marks(model), c.expected_marks);
    EXPECT_EQ(model.error_code, c.code);
    EXPECT_EQ(model.error_position, c.position);
  }
}

// A slow slowdown from cell 100 to its end; the approach marks fall at 95,
// 89 and 82.
TEST(CompleteSignalling, WalkThroughASlowSlowdown) {
  const Cells approach = {82, 89, 95};
  const struct {
    const char* what;
    std::vector<Placed> placed;
    Cells inner_marks;  // beyond cell 100
    int32_t code, position;
  } cases[] = {
      {"110 km/h: no walk", {{100, kSlowdownStartCell, 110}, {120, kSlowdownEndCell}}, {}, 0, 0},
      {"100 km/h over 20 cells",
       {{100, kSlowdownStartCell, 100}, {120, kSlowdownEndCell}},
       {108, 116},
       0,
       0},
      {"mark one cell early, next due 7 after",
       {{100, kSlowdownStartCell, 100}, {108, kSignalCell}, {130, kSlowdownEndCell}},
       {107, 115, 123},
       0,
       0},
      {"mark one cell late, next due 9 after",
       {{100, kSlowdownStartCell, 100},
        {108, kSignalCell},
        {107, kSignalCell},
        {130, kSlowdownEndCell}},
       {109, 117, 125},
       0,
       0},
      {"no room: 13 at the walk's cell and no more marks",
       {{100, kSlowdownStartCell, 100},
        {107, kSignalCell},
        {108, kSignalCell},
        {109, kSignalCell},
        {130, kSlowdownEndCell}},
       {},
       13,
       5400},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    for (const Placed& p : c.placed) {
      model.route_cells[p.cell].kind = p.kind;
      model.route_cells[p.cell].value_1 = p.value_1;
    }
    complete_signalling(model);
    SCOPED_TRACE(c.what);
    Cells expected = approach;
    expected.insert(expected.end(), c.inner_marks.begin(), c.inner_marks.end());
    EXPECT_EQ(marks(model), expected);
    EXPECT_EQ(model.error_code, c.code);
    EXPECT_EQ(model.error_position, c.position);
  }
}

TEST(CompleteSignalling, FirstSignalAfterASlowSlowdown) {
  // Slowdown 100 .. 104 at 60 km/h: too short for an inner mark.
  const struct {
    const char* what;
    std::vector<Placed> placed;
    Cells after_marks;  // beyond cell 104
    int32_t code, position;
  } cases[] = {
      {"signal 5 cells after the end", {{109, kSignalCell}}, {108}, 0, 0},
      {"the nearer cell busy", {{109, kSignalCell}, {108, kStationStopCell}}, {107}, 0, 0},
      {"no room: 13 at the end",
       {{109, kSignalCell}, {108, kStationStopCell}, {107, kStationStopCell}},
       {},
       13,
       5200},
      {"a signal on the end's cell + 12 is the last looked at", {{116, kSignalCell}}, {115}, 0, 0},
      {"13 cells after is too far", {{117, kSignalCell}}, {}, 0, 0},
      {"only the first signal", {{106, kSignalCell}, {110, kSignalCell}}, {105}, 0, 0},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    model.route_cells[100].kind = kSlowdownStartCell;
    model.route_cells[100].value_1 = 60;
    model.route_cells[104].kind = kSlowdownEndCell;
    for (const Placed& p : c.placed) model.route_cells[p.cell].kind = p.kind;
    complete_signalling(model);
    SCOPED_TRACE(c.what);
    Cells expected = {82, 89, 95};
    expected.insert(expected.end(), c.after_marks.begin(), c.after_marks.end());
    EXPECT_EQ(marks(model), expected);
    EXPECT_EQ(model.error_code, c.code);
    EXPECT_EQ(model.error_position, c.position);
  }

  // A fast slowdown is not walked, so its end is never found.
  const ScenarioModel fast =
      completed({{100, kSlowdownStartCell, 120}, {104, kSlowdownEndCell}, {109, kSignalCell}});
  EXPECT_EQ(marks(fast), (Cells{82, 89, 95}));
}

TEST(CompleteSignalling, TheRouteEndCutsWalksAndSearchesShort) {
  // length 0: last_cell 140, cells visited 1 to 138.
  const struct {
    const char* what;
    std::vector<Placed> placed;
    Cells tail_marks;  // beyond cell 120
    int32_t code, position;
  } cases[] = {
      {"a walk without an end stops at last_cell", {{125, kSlowdownStartCell, 50}}, {133}, 0, 0},
      {"the step at last_cell is made in full",
       {{132, kSlowdownStartCell, 50}, {140, kSignalCell}, {139, kSignalCell}},
       {121, 127},
       13,
       7000},
      {"a start on the second-last cell is not visited", {{139, kSlowdownStartCell, 50}}, {}, 0, 0},
      {"the search stops at last_cell",
       {{130, kSlowdownStartCell, 50}, {135, kSlowdownEndCell}, {140, kSignalCell}},
       {125, 139},
       0,
       0},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model(0);
    for (const Placed& p : c.placed) {
      model.route_cells[p.cell].kind = p.kind;
      model.route_cells[p.cell].value_1 = p.value_1;
    }
    complete_signalling(model);
    SCOPED_TRACE(c.what);
    Cells tail;
    for (int32_t cell : marks(model)) {
      if (cell > 120) tail.push_back(cell);
    }
    EXPECT_EQ(tail, c.tail_marks);
    EXPECT_EQ(model.error_code, c.code);
    EXPECT_EQ(model.error_position, c.position);
  }
}

}  // namespace
}  // namespace tracciato
