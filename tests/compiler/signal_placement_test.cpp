#include "compiler/signal_placement.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "compiler/runtime_failure.h"
#include "train_fixture.h"

namespace tracciato {
namespace {

using test_support::route_model;

struct Signal {
  int32_t posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
};

void place(ScenarioModel& model, Signal s) {
  memo_segnale(model, s.posizione, s.sx, s.s1, s.s2, s.s3, s.rapp, s.dx, s.d1, s.d2, s.d3, s.tempo);
}

TEST(MemoSegnale, PacksTheRecordIntoItsCellAndTheApproachCells) {
  const struct {
    Signal signal;
    int32_t cell;
    int16_t v1, v2, v3, v4;
    uint8_t signal_time;
    uint8_t approach[4];  // cells cell-2, cell-4, cell-6, cell-8
  } cases[] = {
      {{1850, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0}, 38, 53, 61, 0, 4, 0, {41, 42, 43, 44}},
      {{23950, 2, 2, 3, 0, 0, 0, 0, 0, 0, 190}, 480, 20, 30, 0, 6, 190, {61, 62, 63, 64}},
      // Packing is decimal and stored as the low 16 / 8 bits.
      {{5000, 10, 4000, 0, 0, 5, 0, 5, 0, 0, 0}, 101, -25531, 0, 0, 80, 0, {45, 46, 47, 48}},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    place(model, c.signal);
    const RouteCell& cell = model.route_cells[c.cell];
    SCOPED_TRACE(c.signal.posizione);
    EXPECT_EQ(model.error_code, 0);
    EXPECT_EQ(cell.kind, kSignalCell);
    EXPECT_EQ(cell.value_1, c.v1);
    EXPECT_EQ(cell.value_2, c.v2);
    EXPECT_EQ(cell.value_3, c.v3);
    EXPECT_EQ(cell.value_4, c.v4);
    EXPECT_EQ(cell.signal_time, c.signal_time);
    for (int k = 1; k <= 4; ++k) {
      EXPECT_EQ(model.route_cells[c.cell - 2 * k].approach_code, c.approach[k - 1]) << k;
      EXPECT_EQ(model.route_cells[c.cell - 2 * k].kind, kEmptyCell);
    }
  }
}

TEST(MemoSegnale, ShortSignalTimesAreLengthenedAndOnlySx2KeepsOne) {
  const struct {
    int32_t tempo, sx, tempo_after;
    uint8_t signal_time;
  } cases[] = {{0, 2, 0, 0},       {1, 2, 101, 101},   {100, 2, 101, 101},
               {101, 2, 101, 101}, {190, 2, 190, 190}, {-5, 2, -5, 251},
               {300, 2, 300, 44},  {190, 1, 190, 0},   {50, 0, 101, 0}};
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    int32_t tempo = c.tempo;
    memo_segnale(model, 5000, c.sx, 0, 0, 0, 0, 0, 0, 0, 0, tempo);
    EXPECT_EQ(tempo, c.tempo_after) << c.tempo << " sx " << c.sx;
    EXPECT_EQ(model.route_cells[101].signal_time, c.signal_time) << c.tempo << " sx " << c.sx;
  }
}

TEST(MemoSegnale, ReplacesASpanMarkerButRefusesABusyCellWithoutWriting) {
  for (uint8_t kind : {kSignalCell, kSlowdownEndCell, kStationStopCell, kAbbattimentoValueCell}) {
    ScenarioModel model = route_model();
    model.route_cells[101].kind = kind;
    const std::vector<RouteCell> before = model.route_cells;
    place(model, {5000, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0});
    EXPECT_EQ(model.error_code, 16) << int{kind};
    EXPECT_EQ(model.route_cells, before) << int{kind};
  }
  ScenarioModel model = route_model();
  model.route_cells[101].kind = kSpanMarkerCell;
  place(model, {5000, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0});
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(model.route_cells[101].kind, kSignalCell);
}

TEST(MemoSegnale, ApproachCodesOverwriteWhateverTheCellsHold) {
  ScenarioModel model = route_model();
  model.route_cells[99].kind = kStationStopCell;
  model.route_cells[99].approach_code = 83;
  place(model, {5000, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0});
  EXPECT_EQ(model.route_cells[99].approach_code, 71);
  EXPECT_EQ(model.route_cells[99].kind, kStationStopCell);
}

TEST(MemoSegnale, NearTheOriginApproachCellsBeforeCellZeroAreSkipped) {
  ScenarioModel model = route_model();
  place(model, {300, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // cell 7: approach cells 5, 3, 1, -1
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(model.route_cells[7].kind, kSignalCell);
  EXPECT_EQ(model.route_cells[5].approach_code, 31);
  EXPECT_EQ(model.route_cells[1].approach_code, 33);
  EXPECT_EQ(model.route_cells[0].approach_code, 0);
}

TEST(MemoSegnale, ACellBeforeTheRouteIsRefusedWithCode26) {
  ScenarioModel model = route_model();
  const std::vector<RouteCell> before = model.route_cells;
  place(model, {-100, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // cell -1
  EXPECT_EQ(model.error_code, 26);
  EXPECT_EQ(model.route_cells, before);
}

TEST(MemoSegnale, AnOverflowLeavesTheKindAndTheValuesComputedBeforeIt) {
  ScenarioModel model = route_model();
  EXPECT_THROW(place(model, {5000, 1, INT32_MAX / 10 + 1, 0, 0, 2, 0, 0, 0, 0, 0}), RuntimeFailure);
  EXPECT_EQ(model.route_cells[101].kind, kSignalCell);
  EXPECT_EQ(model.route_cells[101].value_4, 23);
  EXPECT_EQ(model.route_cells[99].approach_code, 0);

  ScenarioModel rapp = route_model();
  EXPECT_THROW(place(rapp, {5000, 1, 0, 0, 0, INT32_MIN / 10 - 1, 0, 0, 0, 0, 0}), RuntimeFailure);
  EXPECT_EQ(rapp.route_cells[101].kind, kSignalCell);
  EXPECT_EQ(rapp.route_cells[101].value_4, 0);
}

TEST(MemoSegnale, NoRouteYetIsARuntimeFailure) {
  ScenarioModel model;
  EXPECT_THROW(place(model, {5000, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}), RuntimeFailure);
}

TEST(MemoRallentamento, MarksStartEndWarningAndNumberedCells) {
  ScenarioModel model = route_model();
  memo_rallentamento(model, 5000, 30, 400, 1, 1, 0);
  EXPECT_EQ(model.error_code, 0);
  const auto& cells = model.route_cells;
  EXPECT_EQ(cells[101].kind, kSlowdownStartCell);
  EXPECT_EQ(cells[109].kind, kSlowdownEndCell);
  for (int c : {101, 109}) {
    EXPECT_EQ(cells[c].value_1, 30);
    EXPECT_EQ(cells[c].value_3, 1);
  }
  EXPECT_EQ(cells[77].kind, kSlowdownWarningCell);
  EXPECT_EQ(cells[77].value_1, 30);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(cells[76 - i].kind, kSlowdownApproachCell);
    EXPECT_EQ(cells[76 - i].value_1, i + 1);
  }
  for (int c : {73, 74, 75, 76, 77, 101, 109}) EXPECT_EQ(cells[c].value_2, 0) << c;
  int marked = 0;
  for (const RouteCell& cell : cells) marked += cell.kind != kEmptyCell;
  EXPECT_EQ(marked, 7);
}

TEST(MemoRallentamento, TheWarningBoardStartsAbove1500Metres) {
  const struct {
    int32_t x;
    int warning_cell;  // -1: none
  } cases[] = {{1500, -1}, {1550, 8}};
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    memo_rallentamento(model, c.x, 60, 100, 0, 1, 0);
    int boards = 0;
    int numbered = 0;
    for (const RouteCell& cell : model.route_cells) {
      boards += cell.kind == kSlowdownWarningCell;
      numbered += cell.kind == kSlowdownApproachCell;
    }
    EXPECT_EQ(boards, c.warning_cell < 0 ? 0 : 1) << c.x;
    EXPECT_EQ(numbered, c.warning_cell < 0 ? 0 : 4) << c.x;
    if (c.warning_cell >= 0) {
      EXPECT_EQ(model.route_cells[c.warning_cell].kind, kSlowdownWarningCell);
      for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(model.route_cells[c.warning_cell - i].value_1, i) << c.x;
      }
    }
  }
}

TEST(MemoRallentamento, AZeroLengthSlowdownKeepsItsStart) {
  ScenarioModel model = route_model();
  memo_rallentamento(model, 5000, 30, 0, 0, 0, 0);
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(model.route_cells[101].kind, kSlowdownStartCell);
}

TEST(MemoRallentamento, DvGoesIntoEveryMarkAndZeroLeavesValue2Alone) {
  ScenarioModel model = route_model();
  memo_rallentamento(model, 5000, 30, 400, 0, 1, 7);
  for (int c : {77, 101, 109}) EXPECT_EQ(model.route_cells[c].value_2, 7) << c;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(model.route_cells[76 - i].value_2, i + 1);

  ScenarioModel untouched = route_model();
  for (int c : {73, 77, 101, 109}) untouched.route_cells[c].value_2 = 99;
  memo_rallentamento(untouched, 5000, 30, 400, 0, 1, 0);
  for (int c : {73, 77, 101, 109}) EXPECT_EQ(untouched.route_cells[c].value_2, 99) << c;
}

TEST(MemoRallentamento, RefusalsAndWhatTheyLeave) {
  // x 5000, l 400: warning 77, numbered 76..73, start 101, end 109.
  const struct {
    int32_t x, l;
    int busy_cell;
    int32_t code;
    bool leaves_marks;  // start, end and warning marks stay (code 20)
  } cases[] = {
      {5000, 400, 77, 17, false}, {5000, 400, 101, 18, false}, {5000, 400, 109, 19, false},
      {5000, 400, 74, 20, true},  {5000, -1, 101, 28, false},  {-100, 400, 0, 26, false},
      {-76, 0, 0, 26, false},     {38900, 200, 0, 26, false},  {-100, -1, 0, 28, false},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    if (c.busy_cell > 0) model.route_cells[c.busy_cell].kind = kSignalCell;
    const std::vector<RouteCell> before = model.route_cells;
    memo_rallentamento(model, c.x, 30, c.l, 1, 1, 0);
    SCOPED_TRACE(c.code);
    EXPECT_EQ(model.error_code, c.code);
    if (c.leaves_marks) {
      EXPECT_EQ(model.route_cells[101].kind, kSlowdownStartCell);
      EXPECT_EQ(model.route_cells[109].kind, kSlowdownEndCell);
      EXPECT_EQ(model.route_cells[77].kind, kSlowdownWarningCell);
      EXPECT_EQ(model.route_cells[76].kind, kEmptyCell);
    } else {
      EXPECT_EQ(model.route_cells, before);
    }
  }
}

TEST(MemoRallentamento, SpanMarkersAreFreeAndTheEndCellMayBeTheLast) {
  ScenarioModel model = route_model();
  for (int c : {77, 76, 101, 109}) model.route_cells[c].kind = kSpanMarkerCell;
  memo_rallentamento(model, 5000, 30, 400, 0, 1, 0);
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(model.route_cells[76].kind, kSlowdownApproachCell);

  ScenarioModel end = route_model();
  memo_rallentamento(end, 38900, 30, 50, 0, 0, 0);  // end cell 780 = last_cell
  EXPECT_EQ(end.error_code, 0);
  EXPECT_EQ(end.route_cells[780].kind, kSlowdownEndCell);
}

TEST(MemoRallentamento, OverflowingEndIsARuntimeFailureAndNoRouteToo) {
  ScenarioModel model = route_model();
  EXPECT_THROW(memo_rallentamento(model, INT32_MAX - 10, 30, 100, 0, 0, 0), RuntimeFailure);
  ScenarioModel none;
  EXPECT_THROW(memo_rallentamento(none, 5000, 30, 100, 0, 0, 0), RuntimeFailure);
}

}  // namespace
}  // namespace tracciato
