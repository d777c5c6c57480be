#include "compiler/track_polyline.h"

#include <variant>

#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

struct Curvature {
  char digit;
  double k;  // per metre
};

constexpr Curvature kCurvatures[] = {
    {'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004}, {'4', 0.001}, {'5', 0.002}, {'6', 0.003},
};

TrackPoint& row_at(ScenarioModel& model, int32_t row) {
  if (row < 0 || static_cast<size_t>(row) >= model.track_points.size()) {
    throw RuntimeFailure("a track row outside the track");
  }
  return model.track_points[static_cast<size_t>(row)];
}

struct Step {
  double x0, y0;  // the row before the cursor
  double dx, dy;  // the step that led to it
};

Step step_before(const ScenarioModel& model, int32_t cursor) {
  const double x1 = track_coordinate(model, cursor - 1, 0);
  const double y1 = track_coordinate(model, cursor - 1, 1);
  const double dx = x1 - track_coordinate(model, cursor - 2, 0);
  const double dy = y1 - track_coordinate(model, cursor - 2, 1);
  return {x1, y1, dx, dy};
}

}  // namespace

std::optional<double> curvature_of(std::string_view key) {
  for (const Curvature& c : kCurvatures) {
    if (key.find(c.digit) == std::string_view::npos) continue;
    const bool left = key.find_first_of("sS") != std::string_view::npos;
    return left ? -c.k : c.k;
  }
  return std::nullopt;
}

void start_track(ScenarioModel& model) {
  row_at(model, 0) = {int16_t{0}, int16_t{0}};
  row_at(model, 1) = {int16_t{0}, int16_t{1}};
}

bool run_straight(ScenarioModel& model, int32_t& cursor, int32_t until, bool limited) {
  while (cursor <= until) {
    const Step s = step_before(model, cursor);
    TrackPoint& p = row_at(model, cursor);
    p[0] = s.x0 + s.dx;
    p[1] = s.y0 + s.dy;
    cursor += 1;
    if (limited && cursor > kMaxTrackCursor) return false;
  }
  return true;
}

bool run_curve(ScenarioModel& model, int32_t& cursor, int32_t until, double k) {
  while (cursor <= until) {
    const Step s = step_before(model, cursor);
    TrackPoint& p = row_at(model, cursor);
    p[0] = s.x0 + (s.dx + k * s.dy);
    p[1] = s.y0 + (s.dy - k * s.dx);
    cursor += 1;
    if (cursor > kMaxTrackCursor) return false;
  }
  return true;
}

double track_coordinate(const ScenarioModel& model, int32_t row, int c) {
  if (row < 0 || static_cast<size_t>(row) >= model.track_points.size()) {
    throw RuntimeFailure("a track row outside the track");
  }
  const TrackNumber& n = model.track_points[static_cast<size_t>(row)][static_cast<size_t>(c)];
  if (const auto* i = std::get_if<int16_t>(&n)) return *i;
  if (const auto* d = std::get_if<double>(&n)) return *d;
  throw RuntimeFailure("a track row read before it was written");
}

}  // namespace tracciato
