// The train's slowdowns read back from their cells: each start with its end,
// its warning board 24 cells before it and its four numbered marks.
#include <set>

#include "authoring/decompile_train.h"
#include "compiler/signal_placement.h"

namespace tracciato {
namespace {

constexpr int32_t kBoardCells = kWarningDistance / kCellLength;

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

}  // namespace tracciato
