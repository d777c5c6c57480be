#include "compiler/scenario_model.h"

#include <cmath>

#include "compiler/runtime_failure.h"

namespace tracciato {

namespace {

// x rounded to an integer in the default rounding mode: to the nearest, halves
// to the even neighbour. Adding 2^52 leaves no room for a fraction, so the
// addition itself rounds and the subtraction is exact; from 2^52 on every
// double is whole already. The same result as the maths library's nearbyint,
// without the library: the install program then loads one shared library
// fewer on every run.
double nearest_integer(double x) {
  constexpr double kNoFractionFrom = 4503599627370496.0;  // 2^52
  if (!(std::fabs(x) < kNoFractionFrom)) return x;
  return x >= 0 ? (x + kNoFractionFrom) - kNoFractionFrom : (x - kNoFractionFrom) + kNoFractionFrom;
}

}  // namespace

int32_t round_half_even(double x) {
  const double r = nearest_integer(x);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
    throw RuntimeFailure("value does not fit a 32-bit integer");
  }
  return static_cast<int32_t>(r);
}

int32_t cell_of_position(int32_t p) {
  return round_half_even(static_cast<double>(p) / kCellLength + 1);
}

void reset_item_table(ScenarioModel& model) {
  for (ItemRecord& item : model.item_table) item = ItemRecord{};
}

void create_route(ScenarioModel& model, int32_t length) {
  model.track_length = length + kTrackOverrun;
  model.last_cell = round_half_even(static_cast<double>(model.track_length) / kCellLength);
  model.route_cells.assign(static_cast<size_t>(model.last_cell) + 1, RouteCell{});
  model.cell_origins.clear();
  model.track_points.clear();
  if (model.track_flag != 0) {
    model.track_points.create(model.track_length + 1);
  }
}

}  // namespace tracciato
