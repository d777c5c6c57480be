#include "authoring/track_curves.h"

#include <bit>
#include <string>
#include <utility>
#include <variant>

#include "compiler/track_polyline.h"

namespace tracciato {
namespace {

constexpr int32_t kStartRows = 2;
// The track starts at the origin heading along +y: rows (0, 0) and (0, 1).
constexpr int16_t kStart[kStartRows][2] = {{0, 0}, {0, 1}};
// At most this many faults are listed; a track that is no polyline at all
// would otherwise list every row.
constexpr size_t kMostFaults = 20;

bool same_bits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

bool is_empty(const TrackNumber& n) { return std::holds_alternative<std::monostate>(n); }

class ShapeReader {
 public:
  explicit ShapeReader(const std::vector<TrackPoint>& track) : track_(track) {}

  TrackShape read() {
    const auto rows = static_cast<int32_t>(track_.size());
    while (shape_.written < rows && !is_empty(track_[static_cast<size_t>(shape_.written)][0])) {
      ++shape_.written;
    }
    for (int32_t m = 0; m < rows; ++m) check_entry_kinds(m);
    if (!shape_.faults.empty()) return shape_;
    if (shape_.written == 1) fault(1, 0, "a track that starts has both start rows");
    // The two rows before the one at hand, carried along.
    if (shape_.written >= kStartRows) {
      TrackRows r{coordinate(0, 0), coordinate(0, 1), coordinate(1, 0), coordinate(1, 1)};
      for (int32_t m = kStartRows; m < shape_.written && shape_.faults.size() < kMostFaults; ++m) {
        const std::pair<double, double> row{coordinate(m, 0), coordinate(m, 1)};
        classify(m, r, row);
        r = {r.x1, r.y1, row.first, row.second};
      }
    }
    close_curve(shape_.written - 1);
    return shape_;
  }

 private:
  void fault(int32_t metre, int coordinate, std::string why) {
    if (shape_.faults.size() < kMostFaults) {
      shape_.faults.push_back({metre, coordinate, std::move(why)});
    }
  }

  // Rows 0 and 1 are the whole-number start, the later written rows reals,
  // and every row after the last written one is empty.
  void check_entry_kinds(int32_t m) {
    const TrackPoint& p = track_[static_cast<size_t>(m)];
    for (int c = 0; c < 2; ++c) {
      const TrackNumber& n = p[static_cast<size_t>(c)];
      if (m >= shape_.written) {
        if (!is_empty(n)) {
          fault(m, c, "a row after the track's last written row is never written");
        }
      } else if (m < kStartRows) {
        const int16_t* i = std::get_if<int16_t>(&n);
        if (i == nullptr || *i != kStart[m][c]) {
          fault(m, c,
                "the track starts at (0, 0), (0, 1) as whole numbers; no description moves it");
        }
      } else if (!std::holds_alternative<double>(n)) {
        fault(m, c, "a computed row holds two reals");
      }
    }
  }

  double coordinate(int32_t m, int c) const {
    const TrackNumber& n = track_[static_cast<size_t>(m)][static_cast<size_t>(c)];
    if (const int16_t* i = std::get_if<int16_t>(&n)) return *i;
    return std::get<double>(n);
  }

  static bool gives(const std::pair<double, double>& made, const std::pair<double, double>& row) {
    return same_bits(made.first, row.first) && same_bits(made.second, row.second);
  }

  // Row m, from the two rows before it, `r`.
  void classify(int32_t m, const TrackRows& r, const std::pair<double, double>& row) {
    if (gives(straight_row(r), row)) {
      close_curve(m - 1);
      return;
    }
    // The class of the curve in progress first: it is nearly always the one.
    if (curve_k_ != 0 && gives(curve_row(r, curve_k_), row)) return;
    for (const CurvatureClass& c : curvature_classes()) {
      for (const double k : {c.k, -c.k}) {
        if (!gives(curve_row(r, k), row)) continue;
        close_curve(m - 1);
        curve_k_ = k;
        curve_first_ = m;
        return;
      }
    }
    close_curve(m - 1);
    // The coordinate at fault: y when x follows as some row would have it.
    bool x_follows = same_bits(straight_row(r).first, row.first);
    for (const CurvatureClass& c : curvature_classes()) {
      for (const double k : {c.k, -c.k}) {
        x_follows = x_follows || same_bits(curve_row(r, k).first, row.first);
      }
    }
    fault(m, x_follows ? 1 : 0,
          "the row follows from the two before it neither straight nor with any curvature class");
  }

  // The curve in progress, if any, ends at row `last`.
  void close_curve(int32_t last) {
    if (curve_k_ == 0) return;
    shape_.curves.push_back({curve_first_ - 1, last - curve_first_ + 1, curve_k_});
    curve_k_ = 0;
  }

  const std::vector<TrackPoint>& track_;
  TrackShape shape_;
  double curve_k_ = 0;
  int32_t curve_first_ = 0;
};

}  // namespace

TrackShape track_shape(const std::vector<TrackPoint>& track) { return ShapeReader(track).read(); }

}  // namespace tracciato
