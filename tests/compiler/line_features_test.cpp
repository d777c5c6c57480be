#include "compiler/line_features.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

using Record = std::array<int32_t, 3>;  // num_1, num_2, num_3

ScenarioModel route(int32_t length = 32000) {
  ScenarioModel model;
  create_route(model, length);
  return model;
}

TEST(ProgressiveOrdina, OrdersTheThreeRecords) {
  const Record zero{0, 0, 0};
  const struct {
    const char* name;
    Record t, d, u;               // as loaded into slots 81, 82, 83
    std::array<Record, 3> slots;  // 81, 82, 83 afterwards
  } cases[] = {
      {"embedded: only U has a value",
       zero,
       zero,
       {0, 75700, 1},
       {Record{0, 75800, 1}, zero, zero}},
      {"at the origin, T has a value",
       {0, 5, 0},
       {0, 0, 0},
       {0, 0, 0},
       {Record{0, 5, 0}, zero, zero}},
      {"at the origin, D overrides T",
       {0, 5, 2},
       {0, 7, 0},
       {0, 0, 0},
       {Record{0, 7, 0}, {0, 5, 2}, zero}},
      {"at the origin, U overrides D: order U, D, T",
       {0, 5, 0},
       {0, 7, 0},
       {0, 9, 0},
       {Record{0, 9, 0}, {0, 7, 0}, {0, 5, 0}}},
      {"at the origin, no value: all zero", {0, -5, 1}, {0, 0, 1}, {0, 0, 1}, {zero, zero, zero}},
      {"positions summing to 0 count as the origin",
       {100, 0, 0},
       {-100, 0, 0},
       {0, 50, 0},
       {Record{0, 50, 0}, {-100, 0, 0}, {100, 0, 0}}},
      {"descending positions: U, D, T",
       {0, 1, 0},
       {5000, 2, 0},
       {12000, 3, 0},
       {Record{12000, 3, 0}, {5000, 2, 0}, {0, 1, 0}}},
      {"T largest, D before U",
       {900, 1, 0},
       {500, 2, 0},
       {100, 3, 0},
       {Record{900, 1, 0}, {500, 2, 0}, {100, 3, 0}}},
      {"T largest, tie for second: U first",
       {900, 1, 0},
       {500, 2, 0},
       {500, 3, 0},
       {Record{900, 1, 0}, {500, 3, 0}, {500, 2, 0}}},
      {"D largest, tie for second: U first",
       {100, 1, 0},
       {900, 2, 0},
       {100, 3, 0},
       {Record{900, 2, 0}, {100, 3, 0}, {100, 1, 0}}},
      {"U largest, tie for second: D first",
       {100, 1, 0},
       {100, 2, 0},
       {900, 3, 0},
       {Record{900, 3, 0}, {100, 2, 0}, {100, 1, 0}}},
      {"no strict largest: all zero", {5000, 1, 0}, {5000, 2, 0}, {0, 3, 0}, {zero, zero, zero}},
      {"flag 1 adds 100 wherever the record ends",
       {100, 1, 1},
       {900, 2, 2},
       {500, 3, 1},
       {Record{900, 2, 2}, {500, 103, 1}, {100, 101, 1}}},
  };
  for (const auto& c : cases) {
    ScenarioModel model;
    const Record loaded[3] = {c.t, c.d, c.u};
    for (int i = 0; i < 3; ++i) {
      ItemRecord& item = model.item_table[static_cast<size_t>(kProgressiveTre + i)];
      item.num_1 = loaded[i][0];
      item.num_2 = loaded[i][1];
      item.num_3 = loaded[i][2];
    }
    progressive_ordina(model);
    for (int i = 0; i < 3; ++i) {
      const ItemRecord& item = model.item_table[static_cast<size_t>(kProgressiveTre + i)];
      EXPECT_EQ((Record{item.num_1, item.num_2, item.num_3}), c.slots[static_cast<size_t>(i)])
          << c.name << ", slot " << kProgressiveTre + i;
    }
  }
}

TEST(ProgressiveOrdina, OverflowIsARuntimeFailure) {
  ScenarioModel sum;
  sum.item_table[kProgressiveTre].num_1 = INT32_MAX;
  sum.item_table[kProgressiveDue].num_1 = 1;
  EXPECT_THROW(progressive_ordina(sum), RuntimeFailure);

  ScenarioModel correction;
  correction.item_table[kProgressiveUno].num_2 = INT32_MAX;
  correction.item_table[kProgressiveUno].num_3 = 1;
  EXPECT_THROW(progressive_ordina(correction), RuntimeFailure);
}

struct Span {
  int32_t inizio, fine, tipo;
};

TEST(MemoMontagna, MarksTheSpansCells) {
  const struct {
    const char* name;
    std::vector<Span> spans;
    std::vector<std::pair<int, uint8_t>> span_kinds;  // cell, span_kind
    std::vector<int> markers;                         // cells of kind 11
    int32_t span_count;
  } cases[] = {
      {"markers every fourth cell",
       {{750, 1300, 12}},
       {{14, 0}, {15, 2}, {25, 2}, {26, 0}},
       {18, 22},
       1},
      {"one cell, no marker", {{3150, 3200, 2}}, {{62, 0}, {63, 2}, {64, 0}}, {}, 1},
      {"shorter than a cell: counted, no cell", {{1000, 1000, 2}}, {{20, 0}, {19, 0}}, {}, 1},
      {"150 m behind the previous end: kind 3",
       {{750, 1300, 2}, {1450, 1600, 12}},
       {{29, 3}, {31, 3}},
       {},
       2},
      {"200 m behind: its own kind", {{750, 1300, 2}, {1500, 1650, 12}}, {{30, 2}, {32, 2}}, {}, 2},
      {"overlap overwrites, markers only in empty cells",
       {{750, 1300, 12}, {1000, 1500, 14}},
       {{19, 2}, {20, 3}, {25, 3}, {29, 3}},
       {18, 22, 23, 27},
       2},
      {"half-even cell bounds", {{725, 1275, 2}}, {{13, 0}, {14, 2}, {24, 2}, {25, 0}}, {}, 1},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route();
    for (Span s : c.spans) {
      memo_montagna(model, s.inizio, s.fine, s.tipo);
      ASSERT_EQ(model.error_code, 0) << c.name;
    }
    for (const auto& [cell, kind] : c.span_kinds) {
      EXPECT_EQ(model.route_cells[static_cast<size_t>(cell)].span_kind, kind)
          << c.name << " cell " << cell;
    }
    std::vector<int> markers;
    for (int i = 0; i <= model.last_cell; ++i) {
      if (model.route_cells[static_cast<size_t>(i)].kind == kSpanMarkerCell) markers.push_back(i);
    }
    EXPECT_EQ(markers, c.markers) << c.name;
    EXPECT_EQ(model.span_count, c.span_count) << c.name;
    for (int32_t i = 1; i <= c.span_count; ++i) {
      EXPECT_EQ(model.span_starts[static_cast<size_t>(i)],
                c.spans[static_cast<size_t>(i - 1)].inizio)
          << c.name;
      EXPECT_EQ(model.span_ends[static_cast<size_t>(i)], c.spans[static_cast<size_t>(i - 1)].fine)
          << c.name;
    }
  }
}

TEST(MemoMontagna, LeavesOccupiedCellsAndChangesTipo) {
  ScenarioModel model = route();
  model.route_cells[18].kind = kSignalCell;
  int32_t tipo = 12;
  memo_montagna(model, 750, 1300, tipo);
  EXPECT_EQ(tipo, 2);
  EXPECT_EQ(model.route_cells[18].kind, kSignalCell);
  EXPECT_EQ(model.route_cells[18].span_kind, 2);
  EXPECT_EQ(model.route_cells[22].kind, kSpanMarkerCell);
  int32_t joined = 14;
  memo_montagna(model, 1400, 1500, joined);
  EXPECT_EQ(joined, 3);
}

TEST(MemoMontagna, RefusedSpansChangeNothing) {
  const struct {
    const char* name;
    Span span;
    int32_t code;
  } cases[] = {
      {"starts before cell 0", {-50, 500, 12}, 26},
      {"ends beyond last_cell", {38000, 39100, 12}, 26},
      {"last cell is last_cell", {38000, 39050, 2}, 0},
      {"no cell, far outside", {-5000, -5000, 2}, 0},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route();
    const ScenarioModel before = model;
    Span s = c.span;
    memo_montagna(model, s.inizio, s.fine, s.tipo);
    EXPECT_EQ(model.error_code, c.code) << c.name;
    if (c.code != 0) {
      EXPECT_EQ(model.span_count, 0) << c.name;
      EXPECT_EQ(model.route_cells, before.route_cells) << c.name;
    }
  }

  ScenarioModel full = route();
  for (int i = 0; i < 80; ++i) {
    int32_t tipo = 2;
    memo_montagna(full, i * 100, i * 100 + 50, tipo);
  }
  ASSERT_EQ(full.error_code, 0);
  int32_t tipo = 12;
  memo_montagna(full, 9000, 9500, tipo);
  EXPECT_EQ(full.error_code, 27);
  EXPECT_EQ(full.span_count, 80);
  EXPECT_EQ(tipo, 12);
  EXPECT_EQ(full.route_cells[185].span_kind, 0);
}

TEST(MemoMontagna, GapOverflowAndMissingRouteAreRuntimeFailures) {
  ScenarioModel model = route();
  int32_t tipo = 2;
  memo_montagna(model, -2000000000, -2000000000, tipo);
  EXPECT_THROW(memo_montagna(model, 2000000000, 2000000000, tipo), RuntimeFailure);
  ScenarioModel no_route;
  EXPECT_THROW(memo_montagna(no_route, 0, 100, tipo), RuntimeFailure);
}

TEST(MemoIndicatoriVMax, PacksTheSpeeds) {
  const struct {
    const char* name;
    int32_t posizione;
    SpeedIndicators group;
    int cell;
    std::array<int16_t, 4> values;
  } cases[] = {
      {"both sides", 750, {65, 75, 75, 0, 65, 75, 75, 0}, 16, {1313, 1515, 1515, 0}},
      {"empty d side and stripes", 23100, {75, 75, 75, 2, 0, 0, 0, 0}, 463, {1500, 1500, 1500, 20}},
      {"fifths round to the nearest", 0, {1, 1, 1, 1, 2, 3, -3, 5}, 1, {20, 21, 19, 15}},
      {"stripes wrap on 16 bits", 0, {0, 0, 0, 3277, 0, 0, 0, 0}, 1, {0, 0, 0, -32766}},
      {"stripes on their low 16 bits", 0, {0, 0, 0, 65538, 0, 0, 0, 65537}, 1, {0, 0, 0, 21}},
      {"largest packed speed", 0, {1638, 0, 0, 0, 37, 0, 0, 0}, 1, {32767, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route();
    memo_indicatori_v_max(model, c.posizione, c.group);
    ASSERT_EQ(model.error_code, 0) << c.name;
    const RouteCell& cell = model.route_cells[static_cast<size_t>(c.cell)];
    EXPECT_EQ(cell.kind, kSpeedIndicatorCell) << c.name;
    EXPECT_EQ((std::array{cell.value_1, cell.value_2, cell.value_3, cell.value_4}), c.values)
        << c.name;
  }
}

TEST(MemoIndicatoriVMax, BusyAndOutsideCells) {
  const struct {
    const char* name;
    int32_t posizione;
    uint8_t kind_there;
    int32_t code;
  } cases[] = {
      {"span marker is replaced", 750, kSpanMarkerCell, 0}, {"sign", 750, kIndicationSignCell, 21},
      {"another group", 750, kSpeedIndicatorCell, 21},      {"before cell 0", -100, kEmptyCell, 26},
      {"beyond last_cell", 39000, kEmptyCell, 26},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route();
    model.route_cells[16].kind = c.kind_there;
    const ScenarioModel before = model;
    memo_indicatori_v_max(model, c.posizione, {65, 75, 75, 0, 65, 75, 75, 0});
    EXPECT_EQ(model.error_code, c.code) << c.name;
    if (c.code != 0) {
      EXPECT_EQ(model.route_cells, before.route_cells) << c.name;
    }
  }
}

TEST(MemoIndicatoriVMax, AFailureLeavesWhatWasWrittenBeforeIt) {
  ScenarioModel model = route();
  // value_1 fits; value_2 = 1639 x 20 does not fit 16 bits.
  EXPECT_THROW(memo_indicatori_v_max(model, 750, {1, 1639, 0, 0, 0, 0, 0, 0}), RuntimeFailure);
  EXPECT_EQ(model.route_cells[16].kind, kSpeedIndicatorCell);
  EXPECT_EQ(model.route_cells[16].value_1, 20);
  EXPECT_EQ(model.route_cells[16].value_2, 0);

  ScenarioModel product = route();
  EXPECT_THROW(memo_indicatori_v_max(product, 750, {200000000, 0, 0, 0, 0, 0, 0, 0}),
               RuntimeFailure);
  EXPECT_EQ(product.route_cells[16].kind, kSpeedIndicatorCell);

  ScenarioModel no_route;
  EXPECT_THROW(memo_indicatori_v_max(no_route, 0, {}), RuntimeFailure);
}

}  // namespace
}  // namespace tracciato
