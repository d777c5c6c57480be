// The track polyline: the plan position of the track at every metre of the
// route, bent by the line's curves.
//
// The track starts at the origin heading along +y, one metre per row: rows 0
// and 1 are the whole numbers (0, 0) and (0, 1). Every later row is a double
// computed from the two rows before it, in exactly the order written below;
// the simulator reads the track file these rows go into, so the arithmetic
// must come out bit for bit the same on every build (no fused multiply-add).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "compiler/scenario_model.h"

namespace tracciato {

inline constexpr int32_t kFirstComputedRow = 2;
// A cursor beyond this row while bending or straightening refuses the line.
inline constexpr int32_t kMaxTrackCursor = 1000000;

// Curvature per metre of a curve key field: the first of the digits "1" to
// "6" that the field contains picks the class, and an "s" (any case) makes
// the curve left-hand (negative). nullopt when the field holds no such digit.
std::optional<double> curvature_of(std::string_view key);

// The two rows before the one to compute.
struct TrackRows {
  double x0, y0;  // the row two before it
  double x1, y1;  // the row just before it
};

// The next row of a straight run: the step between the two rows before it,
// repeated.
inline std::pair<double, double> straight_row(const TrackRows& r) {
  const double dx = r.x1 - r.x0;
  const double dy = r.y1 - r.y0;
  return {r.x1 + dx, r.y1 + dy};
}

// The next row of a curve of curvature k: the step turned by about k radians.
inline std::pair<double, double> curve_row(const TrackRows& r, double k) {
  const double dx = r.x1 - r.x0;
  const double dy = r.y1 - r.y0;
  return {r.x1 + (dx + k * dy), r.y1 + (dy - k * dx)};
}

// The curvatures of the classes, in the order their digits are tested: a
// curve key's class is the first of them whose digit it contains.
struct CurvatureClass {
  char digit;
  double k;  // per metre, right-hand
};
std::span<const CurvatureClass> curvature_classes();

// Rows 0 and 1. Throws RuntimeFailure when the track has no rows yet.
void start_track(ScenarioModel& model);

// Straight on from row `cursor` while cursor <= `until`: each row repeats the
// step between the two rows before it. With `limited`, false as soon as the
// cursor passes kMaxTrackCursor (the row before it is written).
bool run_straight(ScenarioModel& model, int32_t& cursor, int32_t until, bool limited);

// A curve from row `cursor` while cursor <= `until`, turning the heading by
// about k radians per metre (clockwise for k > 0). The step is not
// renormalised. False as soon as the cursor passes kMaxTrackCursor.
bool run_curve(ScenarioModel& model, int32_t& cursor, int32_t until, double k);

// Coordinate c (0 = x, 1 = y) of row `row` as a real. Throws RuntimeFailure
// for a row outside the table or one not yet written.
double track_coordinate(const ScenarioModel& model, int32_t row, int c);

}  // namespace tracciato
