#include "compiler/track_polyline.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

constexpr CurvatureClass kCurvatures[] = {
    {'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004}, {'4', 0.001}, {'5', 0.002}, {'6', 0.003},
};

// The rows are written strictly in order, so the cursor is always the next
// row the store takes. Throws RuntimeFailure when a row it needs is missing.
TrackRows rows_before(const TrackStore& track, int32_t cursor) {
  if (cursor != track.written()) throw RuntimeFailure("a track row written out of order");
  return {track.coordinate(cursor - 2, 0), track.coordinate(cursor - 2, 1),
          track.coordinate(cursor - 1, 0), track.coordinate(cursor - 1, 1)};
}

}  // namespace

std::span<const CurvatureClass> curvature_classes() { return kCurvatures; }

std::optional<double> curvature_of(std::string_view key) {
  for (const CurvatureClass& c : kCurvatures) {
    if (key.find(c.digit) == std::string_view::npos) continue;
    const bool left = key.find_first_of("sS") != std::string_view::npos;
    return left ? -c.k : c.k;
  }
  return std::nullopt;
}

void start_track(ScenarioModel& model) { model.track_points.write_start({0, 0}, {0, 1}); }

// How many rows a run from `cursor` to `until` writes: all of them, or, when
// the cursor may not pass kMaxTrackCursor, those up to the row at which it
// passes (that row is written, then the run stops short). Whether it stops
// short is the run's result.
struct RunLength {
  size_t rows;
  bool whole;
};

RunLength run_length(int32_t cursor, int32_t until, bool limited) {
  const int64_t wanted = int64_t{until} - cursor + 1;
  if (!limited) return {static_cast<size_t>(wanted), true};
  const int64_t to_limit = std::max<int64_t>(int64_t{kMaxTrackCursor} - cursor + 1, 1);
  if (to_limit <= wanted) return {static_cast<size_t>(to_limit), false};
  return {static_cast<size_t>(wanted), true};
}

// Each step below is the step between the two rows before it, computed in the
// same order for every row; the two rows are carried along rather than read
// back, so the loop only writes the store.

bool run_straight(ScenarioModel& model, int32_t& cursor, int32_t until, bool limited) {
  if (cursor > until) return true;
  TrackStore& track = model.track_points;
  TrackRows r = rows_before(track, cursor);
  const RunLength run = run_length(cursor, until, limited);
  try {
    track.append_run(run.rows, [&r] {
      const auto [x, y] = straight_row(r);
      r = {r.x1, r.y1, x, y};
      return std::pair{x, y};
    });
  } catch (const RuntimeFailure&) {
    cursor = track.written();  // past the rows written before the table ran out
    throw;
  }
  cursor = track.written();
  return run.whole;
}

bool run_curve(ScenarioModel& model, int32_t& cursor, int32_t until, double k) {
  if (cursor > until) return true;
  TrackStore& track = model.track_points;
  TrackRows r = rows_before(track, cursor);
  const RunLength run = run_length(cursor, until, true);
  try {
    track.append_run(run.rows, [&r, k] {
      const auto [x, y] = curve_row(r, k);
      r = {r.x1, r.y1, x, y};
      return std::pair{x, y};
    });
  } catch (const RuntimeFailure&) {
    cursor = track.written();
    throw;
  }
  cursor = track.written();
  return run.whole;
}

double track_coordinate(const ScenarioModel& model, int32_t row, int c) {
  return model.track_points.coordinate(row, c);
}

}  // namespace tracciato
