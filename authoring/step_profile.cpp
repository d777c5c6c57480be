#include "authoring/step_profile.h"

namespace tracciato {
namespace {

// The tail and every fill stop short of the route's last cells.
constexpr int32_t kTailShort = 2;

}  // namespace

std::optional<std::vector<ProfileChange>> profile_steps(std::span<const uint8_t> target,
                                                        uint8_t initial, bool with_tail) {
  const auto cells = static_cast<int32_t>(target.size());
  const int32_t last = cells - 1;
  const int32_t tail_to = last - kTailShort;   // the tail fills cells below this
  const int32_t furthest = last - kTailShort;  // the furthest cell a record may stand at
  int32_t last_nonzero = -1;
  for (int32_t c = 0; c < cells; ++c) {
    if (target[static_cast<size_t>(c)] != 0) last_nonzero = c;
  }
  // Cells 0 to written - 1 are written, the others keep 0; the records write
  // those below by_records, the tail the rest with the value in force.
  int32_t written = last_nonzero + 1;
  int32_t by_records = written;
  if (with_tail) {
    if (written <= tail_to) {
      written = tail_to;
      by_records = written - 1;
      while (by_records > 0 && target[static_cast<size_t>(by_records - 1)] ==
                                   target[static_cast<size_t>(written - 1)]) {
        --by_records;
      }
    } else {
      by_records = written - 1;
    }
  }
  const auto at = [&](int32_t c) {
    return c < cells ? target[static_cast<size_t>(c)] : uint8_t{0};
  };

  std::vector<ProfileChange> steps;
  if (written == 0) return steps;
  // The first record sets the value in force, as descriptions usually do.
  steps.push_back({0, at(0)});
  int32_t fill = 0;
  while (fill < by_records) {
    const uint8_t value = at(fill);
    int32_t run_end = fill + 1;
    while (run_end < by_records && at(run_end) == value) ++run_end;
    // The value the cells from run_end on take (the tail's, at by_records).
    const uint8_t next = at(run_end);
    if (run_end <= furthest) {
      steps.push_back({run_end, next});
      fill = run_end;
      continue;
    }
    // Beyond the furthest record cell, each record that stands behind the
    // fill position writes exactly one cell.
    if (fill < furthest) {
      steps.push_back({furthest, value});
      fill = furthest;
    }
    while (fill < run_end) {
      if (fill >= last) return std::nullopt;  // a fill never writes the last cell
      steps.push_back({furthest, fill + 1 < run_end ? value : next});
      ++fill;
    }
  }
  // A profile the value in force alone gives needs no record.
  if (steps.size() == 1 && steps.front().value == initial) steps.clear();
  return steps;
}

}  // namespace tracciato
