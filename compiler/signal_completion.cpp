#include "compiler/signal_completion.h"

#include <algorithm>

#include "compiler/compile.h"
#include "compiler/refusal_words.h"

namespace tracciato {
namespace {

constexpr int32_t kSignalBeforeWarningBlocked = 11;
constexpr int32_t kApproachMarkBlocked = 12;
constexpr int32_t kSlowSlowdownMarkBlocked = 13;

constexpr int16_t kMarkValue = 180;
// Slowdowns slower than this get periodic marks and a mark after their end.
constexpr int16_t kSlowSlowdownBelow = 110;
constexpr int kWarningLookBack = 20;
constexpr int32_t kLowestSignalBeforeWarning = 3;
constexpr int kMarkSpacing = 8;  // cells, 400 m
constexpr int32_t kSignalSearchAfterEnd = 12;

// Candidate cells before a slowdown start: each row applies when the start's
// index exceeds `from`, and the nearest free candidate of a row is marked.
constexpr struct {
  int32_t from;
  int32_t offsets[3];
} kApproachDistances[] = {{7, {5, 6, 7}}, {13, {11, 12, 13}}, {20, {18, 19, 20}}};

// The pass's view of the route: cells outside 0 .. last_cell have no kind
// and are never free, so no search or walk can step off the route.
class Route {
 public:
  explicit Route(ScenarioModel& model) : model_(model) {}

  bool inside(int32_t i) const {
    return i >= 0 && i <= model_.last_cell && static_cast<size_t>(i) < model_.route_cells.size();
  }
  bool is(int32_t i, uint8_t kind) const { return inside(i) && at(i).kind == kind; }
  bool free_at(int32_t i) const { return inside(i) && is_free(at(i)); }
  RouteCell& at(int32_t i) const { return model_.route_cells[static_cast<size_t>(i)]; }
  ScenarioModel& model() const { return model_; }

  void mark(int32_t i) const {
    at(i).kind = kAbbattimentoValueCell;
    at(i).value_1 = kMarkValue;
  }
  void lower_to_mark_value(int32_t i) const { at(i).value_1 = minimo(kMarkValue, at(i).value_1); }

  // The pass's problems lie in no description.
  void record(int32_t code, int32_t cell_index) const {
    model_.error_code = code;
    model_.error_position = cell_index * kCellLength;
    model_.error_site = model_.code_site = ErrorSite{};
    // The words of a problem the reading recorded belong to that problem.
    forget_error_words(model_);
  }

 private:
  ScenarioModel& model_;
};

// Step A: an abbattimento just before every signal among the 20 cells before
// a warning board, so a train passing the signal already slows down.
void protect_signals_before_warning(const Route& route, int32_t i) {
  for (int32_t k = 1; k <= kWarningLookBack && i - k >= kLowestSignalBeforeWarning; ++k) {
    const int32_t signal = i - k;
    if (!route.is(signal, kSignalCell)) continue;
    const int32_t p = signal - 1;
    const int32_t q = signal - 2;
    if (route.free_at(p)) {
      route.mark(p);
    } else if (route.free_at(q)) {
      route.mark(q);
    } else if (route.is(p, kAbbattimentoValueCell)) {
      route.lower_to_mark_value(p);
    } else if (route.is(q, kAbbattimentoValueCell)) {
      route.lower_to_mark_value(q);
    } else {
      route.record(kSignalBeforeWarningBlocked, signal);
      explain_blocked_cells(route.model(),
                            "the signal in " + cell_and_metres(signal) +
                                " stands within 20 cells before the warning board in " +
                                cell_and_metres(i) +
                                " and needs an abbattimento mark in one of the two cells just "
                                "before it, but neither is free or holds one",
                            {p, q});
    }
  }
}

// Step B1: marks at about 250, 550 and 900 m before a slowdown start.
void mark_approach_distances(const Route& route, int32_t i) {
  for (const auto& distance : kApproachDistances) {
    if (i <= distance.from) continue;
    const int32_t* chosen = std::find_if(std::begin(distance.offsets), std::end(distance.offsets),
                                         [&](int32_t offset) { return route.free_at(i - offset); });
    if (chosen == std::end(distance.offsets)) {
      route.record(kApproachMarkBlocked, i);
      const auto [near, middle, far] = distance.offsets;
      explain_blocked_cells(route.model(),
                            "the slowdown starting in " + cell_and_metres(i) +
                                " needs an abbattimento mark " + std::to_string(near) + " to " +
                                std::to_string(far) +
                                " cells before it, but none of those cells is free",
                            {i - near, i - middle, i - far});
    } else {
      route.mark(i - *chosen);
    }
  }
}

// Step B2: a mark every 8 cells through a slow slowdown, counted from the
// cell actually marked. Returns the slowdown's end cell, or -1 when the walk
// reached last_cell without meeting one.
int32_t walk_slow_slowdown(const Route& route, int32_t i) {
  int32_t c = 0;
  int32_t w = i;
  while (true) {
    ++w;
    ++c;
    if (c == kMarkSpacing) {
      if (route.free_at(w)) {
        route.mark(w);
        c = 0;
      } else if (route.free_at(w - 1)) {
        route.mark(w - 1);
        c = 1;
      } else if (route.free_at(w + 1)) {
        route.mark(w + 1);
        c = -1;
      } else {
        route.record(kSlowSlowdownMarkBlocked, w);
        explain_blocked_cells(route.model(),
                              "inside the slowdown starting in " + cell_and_metres(i) +
                                  ", slower than 110 km/h, a mark is due every 400 m; the one due "
                                  "in " +
                                  cell_and_metres(w) + " finds no free cell there or next to it",
                              {w - 1, w, w + 1});
      }
    }
    if (route.is(w, kSlowdownEndCell)) return w;
    if (!route.inside(w + 1)) return -1;
  }
}

// Step B3: a mark just before the first signal within 12 cells after the end
// of a slow slowdown.
void protect_first_signal_after(const Route& route, int32_t end, int32_t last_cell) {
  const int32_t bound = std::min(end + kSignalSearchAfterEnd, last_cell);
  for (int32_t s = end; s <= bound; ++s) {
    if (!route.is(s, kSignalCell)) continue;
    if (route.free_at(s - 1)) {
      route.mark(s - 1);
    } else if (route.free_at(s - 2)) {
      route.mark(s - 2);
    } else {
      route.record(kSlowSlowdownMarkBlocked, end);
      explain_blocked_cells(route.model(),
                            "the first signal after the end of a slowdown slower than 110 km/h, "
                            "in " +
                                cell_and_metres(s) +
                                ", needs an abbattimento mark in one of the two cells just before "
                                "it, but neither is free",
                            {s - 1, s - 2});
    }
    return;
  }
}

}  // namespace

void complete_signalling(ScenarioModel& model) {
  const Route route(model);
  const int32_t upper = model.last_cell - 2;
  for (int32_t i = 1; i <= upper && route.inside(i); ++i) {
    if (route.is(i, kSlowdownWarningCell)) protect_signals_before_warning(route, i);
    if (!route.is(i, kSlowdownStartCell)) continue;
    mark_approach_distances(route, i);
    if (route.at(i).value_1 >= kSlowSlowdownBelow) continue;
    const int32_t end = walk_slow_slowdown(route, i);
    if (end >= 0) protect_first_signal_after(route, end, model.last_cell);
  }
}

}  // namespace tracciato
