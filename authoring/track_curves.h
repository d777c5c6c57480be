// The curves of a track polyline as read back from a track file: every row
// after the two start rows is recomputed from the two before it, straight or
// with each curvature class in turn, and must come out bit for bit; runs of
// rows of one curvature are the curves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "authoring/scenario_decoding.h"

namespace tracciato {

// A curve record's rows: the track runs straight up to row `start`, then
// bends from row start + 1 to row start + length.
struct TrackCurve {
  int32_t start = 0;
  int32_t length = 0;
  double k = 0;  // per metre; negative for a left-hand curve
};

// A row or an entry no curve gives, and why.
struct TrackFault {
  int32_t metre = 0;
  int coordinate = 0;  // 0 = x, 1 = y
  std::string why;
};

struct TrackShape {
  int32_t written = 0;  // rows 0 to written - 1 hold a position
  std::vector<TrackCurve> curves;
  std::vector<TrackFault> faults;  // empty when every row is explained
};

// Reads the curves out of `track`.
TrackShape track_shape(const std::vector<TrackPoint>& track);

}  // namespace tracciato
