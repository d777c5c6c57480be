// The train's signals, slowdowns and abbattimento marks read back from the
// route cells.
//
// A signal unpacks its decimal packing; a slowdown gathers its start, its
// end, its warning board 24 cells before the start and its four numbered
// marks; the abbattimento marks are what remains of kind 12 and 13 once the
// marks the completion pass adds are set apart, which is found by running
// that pass itself over the cells without them.
#include <algorithm>
#include <map>
#include <set>

#include "authoring/decompile_train.h"
#include "compiler/compile.h"
#include "compiler/signal_placement.h"

namespace tracciato {
namespace {

constexpr int32_t kPacked = 10;             // s in the tens, d in the units
constexpr int32_t kSidesOfTwo = 6;          // 3 x sx + dx from sx 2 on
constexpr int32_t kLongestShortTime = 100;  // signal times 1 to 100 become 101
constexpr int32_t kByte = 256;
constexpr int32_t kBoardCells = kWarningDistance / kCellLength;
// Tens that overflow 32 bits: the packing fails there, after the signal's
// kind is set.
constexpr int32_t kOverflowingTens = 214748365;
constexpr int16_t kCompletionValue = 180;
// The completion pass is run again for each mark taken as the description's.
constexpr int kCompletionRounds = 512;

}  // namespace

namespace {

// The approach code a signal of side code `sides` (3 x sx + dx) writes k
// pairs of cells before it.
uint8_t approach_code(int32_t sides, int32_t k) {
  return static_cast<uint8_t>(kPacked * sides + k);
}

// How many of the cells before the signal hold the codes of `sides`.
int agreeing_cells(const DecompileContext& ctx, int32_t c, int32_t sides) {
  int agree = 0;
  for (int32_t k = 1; k <= kSignalApproachCells; ++k) {
    if (c - 2 * k >= 0 &&
        ctx.cells[static_cast<size_t>(c - 2 * k)].approach_code == approach_code(sides, k)) {
      ++agree;
    }
  }
  return agree;
}

// value_4 packs 10 x rapp + 3 x sx + dx, so a side code from 10 on shows
// only in the approach codes: the one that agrees with most of them, the
// units of value_4 first.
int32_t side_code(const DecompileContext& ctx, int32_t c, int16_t value_4) {
  int32_t best = value_4 % kPacked;
  int best_agree = agreeing_cells(ctx, c, best);
  if (best_agree == kSignalApproachCells || c < 2) return best;
  // A code a in the cell 2k before is the low byte of 10 x sides + k:
  // 5 x sides = (a - k) / 2 modulo 128, and 77 undoes the 5 there; the
  // side codes it allows lie 128 apart.
  constexpr int32_t kInverseOfFive = 77;
  constexpr int32_t kPeriod = 128;
  constexpr int32_t kTurns = 12;  // side codes up to about 1500 either way
  for (int32_t k = 1; k <= kSignalApproachCells && c - 2 * k >= 0; ++k) {
    const int32_t a = ctx.cells[static_cast<size_t>(c - 2 * k)].approach_code;
    if ((a - k) % 2 != 0) continue;
    const int32_t root = ((a - k) / 2 * kInverseOfFive % kPeriod + kPeriod) % kPeriod;
    for (int32_t turn = -kTurns; turn <= kTurns; ++turn) {
      const int32_t sides = root + kPeriod * turn;
      if ((value_4 - sides) % kPacked != 0) continue;
      const int agree = agreeing_cells(ctx, c, sides);
      if (agree > best_agree) {
        best = sides;
        best_agree = agree;
      }
    }
  }
  return best;
}

// The signal's time as read: a time from 1 to 100 is stored as 101, so one
// stored below 101 was read 256 higher.
int32_t read_time(uint8_t stored) {
  if (stored == 0) return 0;
  return stored <= kLongestShortTime ? stored + kByte : stored;
}

}  // namespace

namespace {

// A signal whose packing overflowed once its kind was set: the values
// packed before the overflow are stored, none after it, no time and no
// approach code. Only the reading's last record can be one. The stage the
// packing failed at, or -1 when the cell shows a whole signal.
int failed_stage(const DecompileContext& ctx, int32_t c, const RouteCell& cell) {
  if (ctx.end != ReadingEnd::kInTrain || cell.signal_time != 0 || c < 2) return -1;
  // The packing's order: value_4, then value_1, value_2, value_3.
  const int16_t stages[] = {cell.value_4, cell.value_1, cell.value_2, cell.value_3};
  int stage = 0;
  for (int i = 0; i < 4; ++i) {
    if (stages[i] != 0) stage = i + 1;
  }
  if (stage == 4 || agreeing_cells(ctx, c, cell.value_4 % kPacked) != 0) return -1;
  return stage;
}

ApproachWriter whole_signal(const DecompileContext& ctx, int32_t c, const RouteCell& cell,
                            int failed) {
  const int16_t v[3] = {cell.value_1, cell.value_2, cell.value_3};
  const int32_t sides = failed >= 0 ? cell.value_4 % kPacked : side_code(ctx, c, cell.value_4);
  int32_t rapp = (cell.value_4 - sides) / kPacked;
  // Only a signal with sx 2 keeps its time.
  const bool side_two = cell.signal_time != 0 || (sides >= kSidesOfTwo && sides <= kSidesOfTwo + 2);
  const int32_t sx = side_two ? 2 : (sides >= 0 ? sides / 3 : 0);
  const int32_t dx = sides - 3 * sx;
  int32_t s[3] = {v[0] / kPacked, v[1] / kPacked, v[2] / kPacked};
  if (failed == 0) rapp = kOverflowingTens;
  if (failed > 0) s[failed - 1] = kOverflowingTens;
  ApproachWriter writer;
  writer.record =
      make_record(RecordKind::kSignal, record_key(RecordKind::kSignal),
                  {DecompileContext::point_position(c), sx, s[0], s[1], s[2], rapp, dx,
                   v[0] % kPacked, v[1] % kPacked, v[2] % kPacked, read_time(cell.signal_time)});
  if (failed >= 0) return writer;
  for (int32_t k = 1; k <= kSignalApproachCells; ++k) {
    if (c - 2 * k >= 0) writer.codes.emplace_back(c - 2 * k, approach_code(sides, k));
  }
  return writer;
}

}  // namespace

void read_signals(DecompileContext& ctx, TrainPlacements& out) {
  std::vector<int32_t> signal_cells;
  int32_t failed_at = -1;
  for (size_t i = 0; i < ctx.cells.size(); ++i) {
    const RouteCell& cell = ctx.cells[i];
    if (cell.kind != kSignalCell) continue;
    const auto c = static_cast<int32_t>(i);
    signal_cells.push_back(c);
    if (!ctx.fits_route(DecompileContext::point_position(c), kFeatureMargin)) {
      ctx.refuse_cell(c, "kind", cell.kind, "a signal in this cell lies beyond the route");
    }
    // Of several cells that could show a failed signal, none is taken: only
    // one record can end the reading, and the others' approach codes may
    // simply be overwritten.
    if (failed_stage(ctx, c, cell) >= 0) failed_at = failed_at == -1 ? c : -2;
  }
  for (const int32_t c : signal_cells) {
    const RouteCell& cell = ctx.cells[static_cast<size_t>(c)];
    if (c == failed_at) {
      DescriptionRecord failed = whole_signal(ctx, c, cell, failed_stage(ctx, c, cell)).record;
      failed.stops_reading = true;
      out.failed_signal = std::move(failed);
    } else {
      out.signals.push_back(whole_signal(ctx, c, cell, -1));
    }
  }
}

namespace {

// Four numbered marks m, m - 1, m - 2, m - 3 of a slowdown of d_v `d_v`.
bool numbered_marks_at(const DecompileContext& ctx, int32_t m, int16_t d_v) {
  for (int32_t k = 0; k < kNumberedMarks; ++k) {
    const int32_t c = m - k;
    if (c < 0 || c > ctx.last_cell) return false;
    const RouteCell& mark = ctx.cells[static_cast<size_t>(c)];
    if (mark.kind != kSlowdownApproachCell || mark.value_1 != k + 1 ||
        mark.value_2 != (d_v != 0 ? k + 1 : 0)) {
      return false;
    }
  }
  return true;
}

struct SlowdownPlace {
  int32_t x = 0;
  int32_t l = 0;
  bool f_ta = false;
  int32_t board = -1;  // its cell, when it has one
  int32_t marks = -1;  // the first numbered mark's cell, when it has them
};

// Where a slowdown starting in cell s and ending in cell e stands: a start
// off the 50 m grid moves the board and the marks (they are counted from
// the exact position), so positions around the cell's are tried until the
// board and marks the cells hold come out.
std::optional<SlowdownPlace> slowdown_place(const DecompileContext& ctx, int32_t s, int32_t e) {
  const RouteCell& start = ctx.cells[static_cast<size_t>(s)];
  const int32_t board_cell = s - kBoardCells;
  const bool board_here = board_cell >= 0 &&
                          ctx.cells[static_cast<size_t>(board_cell)].kind == kSlowdownWarningCell &&
                          ctx.cells[static_cast<size_t>(board_cell)].value_1 == start.value_1 &&
                          ctx.cells[static_cast<size_t>(board_cell)].value_2 == start.value_2;
  // Marks that stand where the position of another slowdown's cell puts
  // them, and not where this one's does, are that slowdown's.
  const int32_t natural = s - kBoardCells - 1;
  const auto another_s = [&](int32_t m) {
    const int32_t other = m + kBoardCells + 1;
    return m != natural && other >= 0 && other <= ctx.last_cell &&
           ctx.cells[static_cast<size_t>(other)].kind == kSlowdownStartCell;
  };
  const auto marks_at = [&](int32_t m) {
    return numbered_marks_at(ctx, m, start.value_2) && !another_s(m);
  };
  constexpr int32_t kHalfCell = kCellLength / 2;
  for (int32_t step = 0; step <= 2 * kHalfCell; ++step) {
    // 0, -25, 25, -1, 1, -2, 2, ...
    const int32_t delta = step == 0   ? 0
                          : step == 1 ? -kHalfCell
                          : step == 2 ? kHalfCell
                                      : (step % 2 == 1 ? -(step - 1) / 2 : (step - 1) / 2);
    const int32_t x = DecompileContext::point_position(s) + delta;
    if (cell_of_position(x) != s) continue;
    const bool has_board = x > kWarningBoardFrom;
    if (has_board != board_here) continue;
    SlowdownPlace place{x, 0, false, has_board ? board_cell : -1, -1};
    if (has_board) {
      const int32_t m = first_numbered_mark_cell(x);
      place.f_ta = marks_at(m);
      if (!place.f_ta && (marks_at(m - 1) || marks_at(m + 1))) {
        continue;  // the marks stand where another position puts them
      }
      if (place.f_ta) place.marks = m;
    }
    for (int32_t t = 0; t <= 2 * kHalfCell; ++t) {
      const int32_t l = kCellLength * (e - s) + (t % 2 == 1 ? -(t + 1) / 2 : t / 2);
      if (l >= 0 && cell_of_position(x + l) == e) {
        place.l = l;
        return place;
      }
    }
  }
  return std::nullopt;
}

}  // namespace

void read_slowdowns(DecompileContext& ctx, TrainPlacements& out) {
  const auto& cells = ctx.cells;
  std::set<int32_t> ends;
  std::set<int32_t> claimed;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (cells[i].kind == kSlowdownEndCell) ends.insert(static_cast<int32_t>(i));
  }
  for (size_t i = 0; i < cells.size(); ++i) {
    const RouteCell& start = cells[i];
    if (start.kind != kSlowdownStartCell) continue;
    const auto s = static_cast<int32_t>(i);
    // Its end: the nearest end mark after it with the same values; none when
    // the slowdown ends in its own cell.
    int32_t e = s;
    for (auto it = ends.upper_bound(s); it != ends.end(); ++it) {
      const RouteCell& end = cells[static_cast<size_t>(*it)];
      if (end.value_1 == start.value_1 && end.value_2 == start.value_2 &&
          end.value_3 == start.value_3 && end.value_4 == 0) {
        e = *it;
        ends.erase(it);
        break;
      }
    }
    const std::optional<SlowdownPlace> place = slowdown_place(ctx, s, e);
    if (!place) {
      ctx.refuse_cell(s, "kind", start.kind,
                      "no position of a slowdown starting here gives its warning board 24 cells "
                      "before (with its speed and d_v) and its numbered marks as stored");
      continue;
    }
    if (place->board >= 0) claimed.insert(place->board);
    for (int32_t k = 0; place->marks >= 0 && k < kNumberedMarks; ++k) {
      claimed.insert(place->marks - k);
    }
    if (!ctx.fits_route(place->x, kFeatureMargin)) {
      ctx.refuse_cell(s, "kind", start.kind, "a slowdown starting here lies beyond the route");
    }
    out.slowdowns.push_back(make_record(
        RecordKind::kSlowdown, record_key(RecordKind::kSlowdown),
        {place->x, start.value_1, place->l, start.value_3, place->f_ta ? 1 : 0, start.value_2}));
  }
  for (const int32_t e : ends) {
    ctx.refuse_cell(e, "kind", kSlowdownEndCell,
                    "a slowdown's end mark with no start mark before it of the same values");
  }
  for (size_t i = 0; i < cells.size(); ++i) {
    const uint8_t kind = cells[i].kind;
    if ((kind == kSlowdownWarningCell || kind == kSlowdownApproachCell) &&
        !claimed.count(static_cast<int32_t>(i))) {
      ctx.refuse_cell(static_cast<int32_t>(i), "kind", kind,
                      kind == kSlowdownWarningCell
                          ? "a warning board with no slowdown start 24 cells after it"
                          : "a numbered mark that belongs to no slowdown's warning board");
    }
  }
}

namespace {

// The completion pass over the cells as the reading left them: with no mark
// of value but the description's own.
class CompletionReplay {
 public:
  explicit CompletionReplay(const DecompileContext& ctx) : stored_(ctx.cells) {
    scratch_.last_cell = ctx.last_cell;
    base_ = stored_;
    for (size_t i = 0; i < base_.size(); ++i) {
      if (base_[i].kind != kAbbattimentoValueCell) continue;
      base_[i].kind = kEmptyCell;
      base_[i].value_1 = 0;
      marks_.push_back(static_cast<int32_t>(i));
    }
  }

  const std::vector<int32_t>& marks() const { return marks_; }

  // The first cell where the pass, with `own` the description's marks,
  // leaves another mark than stored (or none where one is stored, or one
  // where none is); cells.size() when it leaves every one as stored. With
  // `valued`, the description's marks of another value than 180 that it
  // does not make go there.
  size_t first_difference(const std::set<int32_t>& own, std::vector<int32_t>* valued = nullptr) {
    scratch_.route_cells = base_;
    for (const int32_t c : own) {
      scratch_.route_cells[static_cast<size_t>(c)] = stored_[static_cast<size_t>(c)];
    }
    complete_signalling(scratch_);
    size_t first = stored_.size();
    for (size_t i = 0; i < stored_.size(); ++i) {
      const RouteCell& made = scratch_.route_cells[i];
      const RouteCell& stored = stored_[i];
      const bool marked = made.kind == kAbbattimentoValueCell;
      const bool stored_mark = stored.kind == kAbbattimentoValueCell;
      if (marked == stored_mark && (!marked || made.value_1 == stored.value_1)) continue;
      if (own.count(static_cast<int32_t>(i)) != 0) continue;
      if (valued != nullptr && stored_mark && stored.value_1 != kCompletionValue) {
        valued->push_back(static_cast<int32_t>(i));
      }
      first = std::min(first, i);
    }
    return first;
  }

 private:
  const std::vector<RouteCell>& stored_;
  std::vector<RouteCell> base_;
  std::vector<int32_t> marks_;
  ScenarioModel scratch_;
};

// The description's marks: those the pass does not make as stored. Marks of
// another value than 180 are the description's at once; a mark of 180 that
// the pass makes elsewhere is found by trying the stored marks next to where
// the pass first goes astray, keeping the one that sets it right furthest on.
std::set<int32_t> own_marks(const DecompileContext& ctx) {
  CompletionReplay replay(ctx);
  const std::set<int32_t> stored(replay.marks().begin(), replay.marks().end());
  std::set<int32_t> own;
  constexpr int32_t kNearby = 3;
  for (int round = 0; round < kCompletionRounds; ++round) {
    std::vector<int32_t> valued;
    const size_t first = replay.first_difference(own, &valued);
    if (first == ctx.cells.size()) break;
    if (!valued.empty()) {
      own.insert(valued.begin(), valued.end());
      continue;
    }
    const auto d = static_cast<int32_t>(first);
    int32_t best = -1;
    size_t best_reach = first;
    for (int32_t offset = 0; offset <= kNearby; ++offset) {
      for (const int32_t c : {d + offset, d - offset}) {
        if (stored.count(c) == 0 || own.count(c) != 0 || (offset == 0 && c != d)) continue;
        std::set<int32_t> trial = own;
        trial.insert(c);
        const size_t reach = replay.first_difference(trial);
        if (reach > best_reach) {
          best_reach = reach;
          best = c;
        }
      }
    }
    if (best < 0) break;  // no mark of the description sets it right; the proof names the cell
    own.insert(best);
  }
  return own;
}

}  // namespace

void read_abbattimenti(DecompileContext& ctx, TrainPlacements& out) {
  const std::set<int32_t> own = own_marks(ctx);
  for (size_t i = 0; i < ctx.cells.size(); ++i) {
    const RouteCell& cell = ctx.cells[i];
    const auto c = static_cast<int32_t>(i);
    const bool value_mark = cell.kind == kAbbattimentoValueCell && own.count(c) != 0;
    if (!value_mark && cell.kind != kAbbattimentoCell) continue;
    if (value_mark && cell.value_1 <= 0) {
      ctx.refuse_cell(c, "value_1", cell.value_1,
                      "an abbattimento mark with a value stores a value above 0");
    }
    const int32_t p = kCellLength * c;  // the cell that begins at the position
    if (!ctx.fits_route(p, kFeatureMargin)) {
      ctx.refuse_cell(c, "kind", cell.kind,
                      "an abbattimento mark in this cell lies beyond the route");
    }
    out.abbattimenti.push_back(make_record(RecordKind::kAbbattimento,
                                           record_key(RecordKind::kAbbattimento),
                                           {p, value_mark ? int32_t{cell.value_1} : 0}));
  }
}

std::vector<const ApproachWriter*> approach_order(const TrainPlacements& placements,
                                                  const std::vector<RouteCell>& cells) {
  // The writers in their usual order: stations first, in entry order, then
  // signals along the route.
  std::vector<const ApproachWriter*> writers;
  for (const ApproachWriter& w : placements.stations) writers.push_back(&w);
  const size_t station_count = writers.size();
  for (const ApproachWriter& w : placements.signals) writers.push_back(&w);
  const size_t n = writers.size();
  // after[a] holds the writers that must come after a.
  std::vector<std::set<size_t>> after(n);
  for (size_t i = 1; i < station_count; ++i) after[i - 1].insert(i);
  std::map<int32_t, std::vector<std::pair<size_t, uint8_t>>> by_cell;
  for (size_t w = 0; w < n; ++w) {
    for (const auto& [cell, code] : writers[w]->codes) by_cell[cell].emplace_back(w, code);
  }
  for (const auto& [cell, list] : by_cell) {
    const uint8_t stored = cells[static_cast<size_t>(cell)].approach_code;
    // The last writer in the usual order that writes the stored code goes
    // after every writer of another code.
    size_t chosen = n;
    for (const auto& [w, code] : list) {
      if (code == stored) chosen = w;
    }
    if (chosen == n) continue;  // no order gives it; the proof names the cell
    for (const auto& [w, code] : list) {
      if (code != stored) after[w].insert(chosen);
    }
  }
  // Kahn's order, taking the earliest ready writer in the usual order.
  std::vector<size_t> waiting(n, 0);
  for (size_t a = 0; a < n; ++a) {
    for (const size_t b : after[a]) ++waiting[b];
  }
  std::set<size_t> ready;
  for (size_t w = 0; w < n; ++w) {
    if (waiting[w] == 0) ready.insert(w);
  }
  std::vector<const ApproachWriter*> order;
  while (!ready.empty()) {
    const size_t w = *ready.begin();
    ready.erase(ready.begin());
    order.push_back(writers[w]);
    for (const size_t b : after[w]) {
      if (--waiting[b] == 0) ready.insert(b);
    }
  }
  // Codes no order satisfies: the usual order, and the proof names them.
  if (order.size() != n) return writers;
  return order;
}

}  // namespace tracciato
