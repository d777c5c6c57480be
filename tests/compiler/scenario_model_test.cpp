#include "compiler/scenario_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

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

// The rounding is exact arithmetic rather than the maths library's: it must
// agree with the library on every kind of value a position can give, halves
// and their neighbours one unit in the last place away above all.
TEST(RoundHalfEven, AgreesWithTheLibrarysRoundingToNearest) {
  std::vector<double> values = {0.0,           -0.0,         0.5,           -0.5,
                                1.5,           2147483647.0, -2147483648.0, 2147483646.5,
                                -2147483647.5, 2147483647.4, 1e-300,        -1e-300};
  for (int32_t n = -200000; n <= 200000; n += 7) {
    for (const double half : {n + 0.5, n - 0.5, n + 0.25, n / 50.0 + 1, n * 1.37}) {
      values.push_back(half);
      values.push_back(std::nextafter(half, 1e300));
      values.push_back(std::nextafter(half, -1e300));
    }
  }
  for (const double x : values) {
    const double expected = std::nearbyint(x);
    EXPECT_EQ(round_half_even(x), static_cast<int32_t>(expected)) << std::hexfloat << x;
  }
  for (const double x :
       {2147483647.5, -2147483648.5000005, 1e300, -1e300, std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()}) {
    if (const double r = std::nearbyint(x); r >= -2147483648.0 && r <= 2147483647.0) {
      EXPECT_EQ(round_half_even(x), static_cast<int32_t>(r)) << x;
    } else {
      EXPECT_THROW(round_half_even(x), RuntimeFailure) << x;
    }
  }
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
