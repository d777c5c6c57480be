// Where records land: off the 50-metre grid, out of ascending order, a curve
// behind the end of the one before, a signal too near the start for its
// approach codes.
#include <algorithm>

#include "authoring/lint.h"
#include "compiler/scenario_model.h"

namespace tracciato {
namespace {

constexpr int kApproachCodes = 4;  // a signal marks the cells 2, 4, 6 and 8 before it
constexpr int kApproachStep = 2;

std::string m(int64_t metres) { return std::to_string(metres) + " m"; }

bool on_grid(int64_t p) { return p % kCellLength == 0; }

// How a position becomes a cell, and the position that cell stands for.
enum class Rounding {
  kPoint,    // cell round_half_even(p / 50 + 1): signals, signs, slowdown marks
  kProfile,  // index round_half_even(p / 50): profiles, spans, abbattimento
};

int64_t grid_position(int32_t p, Rounding rounding) {
  if (rounding == Rounding::kPoint) return (int64_t{cell_of_position(p)} - 1) * kCellLength;
  return int64_t{round_half_even(p / static_cast<double>(kCellLength))} * kCellLength;
}

class PositionCheck final : public RecordCheck {
 public:
  explicit PositionCheck(Description description) : description_(description) {}

  std::vector<LintWarning> take_warnings() override { return std::move(warnings_); }

  void record(const ScannedRecord& r) override {
    switch (r.kind) {
      case RecordKind::kGradient:
      case RecordKind::kSpeedLimit:
      case RecordKind::kAdhesion:
        off_grid(r, 0, Rounding::kProfile);
        profile(r);
        break;
      case RecordKind::kAbbattimento:
        off_grid(r, 0, Rounding::kProfile);
        break;
      case RecordKind::kMountainSpan:
        off_grid(r, 0, Rounding::kProfile, "start");
        off_grid(r, 1, Rounding::kProfile, "end");
        mountain_span(r);
        break;
      case RecordKind::kSpeedIndicators:
        off_grid(r, 0, Rounding::kPoint);
        break;
      case RecordKind::kIndicationSign:
        off_grid(r, 0, Rounding::kPoint);
        ascending(r, last_sign_);
        break;
      case RecordKind::kSignal:
        off_grid(r, 0, Rounding::kPoint);
        signal_near_start(r);
        break;
      case RecordKind::kSlowdown:
        off_grid(r, 0, Rounding::kPoint);
        slowdown_end(r);
        break;
      case RecordKind::kStation:
        ascending(r, last_station_);
        break;
      case RecordKind::kCurve:
        curve(r);
        break;
      default:
        break;
    }
  }

 private:
  void warn(FieldSite site, std::string message) {
    warnings_.push_back({description_, site, std::move(message), std::nullopt});
  }

  void off_grid(const ScannedRecord& r, size_t value, Rounding rounding,
                std::string_view what = "position") {
    const int32_t p = r.numbers[value].number;
    if (on_grid(p)) return;
    warn(r.numbers[value].site, std::string(record_name(r.kind)) + " " + std::string(what) + " " +
                                    m(p) + " is not a multiple of 50 m: it is rounded to " +
                                    m(grid_position(p, rounding)) +
                                    " (halves go to the even cell)");
  }

  // A profile is written cell by cell in file order: each record fills the
  // cells up to its own with the value before it, at least one cell. A
  // record whose cell is already written takes over only further on.
  void profile(const ScannedRecord& r) {
    int32_t& fill = profile_fill_[static_cast<size_t>(r.kind)];
    const int32_t n = round_half_even(r.numbers[0].number / static_cast<double>(kCellLength));
    const int32_t from = n > 0 ? std::max(fill + 1, n) : fill;
    const int32_t own = std::max(n, 0);
    if (from != own) {
      warn(r.key_site,
           std::string(record_name(r.kind)) + " at " + m(r.numbers[0].number) +
               " takes effect only from " + m(int64_t{from} * kCellLength) +
               ": the records before it have filled the cells up to there (records of a kind go in "
               "ascending order of position)");
    }
    fill = n > 0 ? from : fill;
  }

  void ascending(const ScannedRecord& r, std::optional<int32_t>& last) {
    const int32_t p = r.numbers[0].number;
    if (last && p < *last) {
      warn(r.key_site, std::string(record_name(r.kind)) + " at " + m(p) + " comes after one at " +
                           m(*last) + ": records of a kind go in ascending order of position");
    }
    last = p;
  }

  // A span that starts at or before the end of the one before is joined to
  // it: it becomes span kind 3, and the overlap takes its kind.
  void mountain_span(const ScannedRecord& r) {
    const int32_t start = r.numbers[0].number;
    if (last_span_end_ && start < *last_span_end_) {
      warn(r.key_site,
           "mountain span from " + m(start) + " starts before the previous span ends at " +
               m(*last_span_end_) +
               ": it is taken as joined to it (span kind 3); spans go in ascending order");
    }
    last_span_end_ = r.numbers[1].number;
  }

  // The track is bent metre by metre in file order; a curve that starts
  // behind the metre already reached bends only from there on.
  void curve(const ScannedRecord& r) {
    const int64_t s = r.numbers[0].number;
    const int64_t end = s + r.numbers[1].number;
    if (track_reached_ && *track_reached_ > s) {
      const std::string head = "curve from " + m(s) + " over " + m(r.numbers[1].number) +
                               " starts behind the end of the previous curve at " +
                               m(*track_reached_);
      warn(r.key_site,
           head + (end <= *track_reached_
                       ? ": it bends nothing"
                       : ": only its part after " + m(*track_reached_) + " bends the track"));
    }
    track_reached_ = std::max(track_reached_.value_or(0), end);
  }

  void signal_near_start(const ScannedRecord& r) {
    const int32_t c = cell_of_position(r.numbers[0].number);
    int lost = 0;
    for (int k = 1; k <= kApproachCodes; ++k) lost += c - kApproachStep * k < 0 ? 1 : 0;
    if (lost == 0) return;
    warn(r.key_site, "signal at " + m(r.numbers[0].number) +
                         " stands within 350 m of the start: " + std::to_string(lost) +
                         " of its 4 approach codes would fall before cell 0 and are cut off");
  }

  void slowdown_end(const ScannedRecord& r) {
    const int64_t end = int64_t{r.numbers[0].number} + r.numbers[2].number;
    if (on_grid(end) || end < INT32_MIN || end > INT32_MAX) return;
    warn(r.numbers[2].site, "slowdown length " + m(r.numbers[2].number) + " puts its end at " +
                                m(end) + ", not a multiple of 50 m: the end is rounded to " +
                                m(grid_position(static_cast<int32_t>(end), Rounding::kPoint)) +
                                " (halves go to the even cell)");
  }

  Description description_;
  std::vector<LintWarning> warnings_;
  int32_t profile_fill_[static_cast<size_t>(RecordKind::kStation) + 1] = {};
  std::optional<int32_t> last_sign_;
  std::optional<int32_t> last_station_;
  std::optional<int32_t> last_span_end_;
  std::optional<int64_t> track_reached_;
};

}  // namespace

std::unique_ptr<RecordCheck> position_check(Description description) {
  return std::make_unique<PositionCheck>(description);
}

}  // namespace tracciato
