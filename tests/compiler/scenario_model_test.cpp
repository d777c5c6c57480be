#include "compiler/scenario_model.h"

#include <gtest/gtest.h>

#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const struct {
    double x;
    int32_t expected;
  } cases[] = {{2.5, 2},     {3.5, 4},  {-0.5, 0}, {-1.5, -2},
               {140.5, 140}, {0.49, 0}, {9.5, 10}, {10.5, 10}};
  for (const auto& c : cases) EXPECT_EQ(round_half_even(c.x), c.expected) << c.x;
}

TEST(RoundHalfEven, OutsideThirtyTwoBitsIsARuntimeFailure) {
  EXPECT_THROW(round_half_even(2147483648.0), RuntimeFailure);
  EXPECT_THROW(round_half_even(-2147483649.0), RuntimeFailure);
  EXPECT_EQ(round_half_even(-2147483648.0), INT32_MIN);
}

TEST(CreateRoute, SizesCellsFromTheLineLength) {
  const struct {
    int32_t length;
    int32_t track_length;
    int32_t last_cell;
  } cases[] = {{32000, 39000, 780}, {25, 7025, 140}, {0, 7000, 140}};
  for (const auto& c : cases) {
    ScenarioModel model;
    model.track_flag = 1;
    create_route(model, c.length);
    EXPECT_EQ(model.track_length, c.track_length);
    EXPECT_EQ(model.last_cell, c.last_cell);
    EXPECT_EQ(model.route_cells.size(), static_cast<size_t>(c.last_cell) + 1);
    EXPECT_EQ(model.track_points.rows(), c.track_length + 1);
    EXPECT_EQ(model.track_points.written(), 0);
  }
}

TEST(FreeCell, EmptyAndSpanMarkerCellsAreFree) {
  for (int kind = 0; kind < 256; ++kind) {
    RouteCell cell;
    cell.kind = static_cast<uint8_t>(kind);
    EXPECT_EQ(is_free(cell), kind == 0 || kind == 11) << kind;
  }
}

}  // namespace
}  // namespace tracciato
