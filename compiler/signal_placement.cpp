#include "compiler/signal_placement.h"

#include "compiler/checked_int.h"
#include "compiler/route_access.h"

namespace tracciato {
namespace {

constexpr int32_t kSignalCellBusy = 16;
constexpr int32_t kWarningCellBusy = 17;
constexpr int32_t kStartCellBusy = 18;
constexpr int32_t kEndCellBusy = 19;
constexpr int32_t kNumberedMarkBusy = 20;
constexpr int32_t kOutsideRouteCells = 26;
constexpr int32_t kNegativeSlowdownLength = 28;

// Signal times 1 to 100 are too short for the simulator; they become 101.
constexpr int32_t kShortestSignalTime = 101;

bool inside_route(const ScenarioModel& model, int32_t c) {
  return c >= 0 && c <= model.last_cell && static_cast<size_t>(c) < model.route_cells.size();
}

RouteCell& cell(ScenarioModel& model, int32_t c) {
  return model.route_cells[static_cast<size_t>(c)];
}

int16_t low16(int32_t v) { return static_cast<int16_t>(v); }
uint8_t low8(int32_t v) { return static_cast<uint8_t>(v); }

// 10 * s + d: the s number in the tens, the d number in the units.
int32_t pack(int32_t s, int32_t d) { return checked::add(checked::mul(10, s), d); }

}  // namespace

int32_t warning_board_cell(int32_t x) {
  return cell_of_position(checked::sub(x, kWarningDistance));
}

int32_t first_numbered_mark_cell(int32_t x) {
  return round_half_even(static_cast<double>(checked::sub(x, kWarningDistance)) / kCellLength);
}

void memo_segnale(ScenarioModel& model, int32_t posizione, int32_t sx, int32_t s1, int32_t s2,
                  int32_t s3, int32_t rapp, int32_t dx, int32_t d1, int32_t d2, int32_t d3,
                  int32_t& tempo) {
  require_last_cell(model);
  const int32_t c = cell_of_position(posizione);
  if (!inside_route(model, c)) {
    model.error_code = kOutsideRouteCells;
    return;
  }
  if (!is_free(cell(model, c))) {
    model.error_code = kSignalCellBusy;
    return;
  }
  cell(model, c).kind = kSignalCell;
  note_placed(model, c);
  cell(model, c).value_4 =
      low16(checked::add(checked::add(checked::mul(10, rapp), checked::mul(3, sx)), dx));
  cell(model, c).value_1 = low16(pack(s1, d1));
  cell(model, c).value_2 = low16(pack(s2, d2));
  cell(model, c).value_3 = low16(pack(s3, d3));
  if (tempo >= 1 && tempo <= 100) tempo = kShortestSignalTime;
  cell(model, c).signal_time = sx == 2 ? low8(tempo) : 0;
  // The cab announces the signal's aspect in the cells 2, 4, 6 and 8 before
  // it; a signal near the origin has fewer such cells.
  for (int32_t k = 1; k <= kSignalApproachCells; ++k) {
    const int32_t before = c - 2 * k;
    if (before < 0) continue;
    const int32_t side_code = checked::add(checked::mul(3, sx), dx);
    cell(model, before).approach_code = low8(checked::add(checked::mul(10, side_code), k));
  }
}

void memo_rallentamento(ScenarioModel& model, int32_t x, int32_t v, int32_t l, int32_t f_tt,
                        int32_t f_ta, int32_t d_v) {
  require_last_cell(model);
  if (l < 0) {
    model.error_code = kNegativeSlowdownLength;
    return;
  }
  const int32_t s = cell_of_position(x);
  const int32_t e = cell_of_position(checked::add(x, l));
  if (!inside_route(model, s) || !inside_route(model, e)) {
    model.error_code = kOutsideRouteCells;
    return;
  }
  const int32_t w = warning_board_cell(x);
  const int32_t m = first_numbered_mark_cell(x);
  // With s >= 0 and l >= 0, every cell below lies between m - 3 >= 3 (when
  // there is a board) and e <= last_cell.

  const bool has_board = x > kWarningBoardFrom;
  if (!has_board) f_ta = 0;
  if (has_board && !is_free(cell(model, w))) {
    model.error_code = kWarningCellBusy;
    return;
  }
  if (!is_free(cell(model, s))) {
    model.error_code = kStartCellBusy;
    return;
  }
  if (!is_free(cell(model, e))) {
    model.error_code = kEndCellBusy;
    return;
  }

  // The end mark goes first, so a slowdown shorter than a cell keeps its start.
  cell(model, e).kind = kSlowdownEndCell;
  note_placed(model, e);
  if (d_v != 0) cell(model, e).value_2 = low16(d_v);
  cell(model, s).kind = kSlowdownStartCell;
  note_placed(model, s);
  if (d_v != 0) cell(model, s).value_2 = low16(d_v);
  if (has_board) {
    cell(model, w).kind = kSlowdownWarningCell;
    note_placed(model, w);
    if (d_v != 0) cell(model, w).value_2 = low16(d_v);
    cell(model, w).value_1 = low16(v);
  }
  cell(model, s).value_1 = low16(v);
  cell(model, e).value_1 = low16(v);
  cell(model, s).value_3 = low16(f_tt);
  cell(model, e).value_3 = low16(f_tt);

  if (f_ta == 0) return;
  for (int32_t i = 0; i < kNumberedMarks; ++i) {
    if (!is_free(cell(model, m - i))) {
      model.error_code = kNumberedMarkBusy;
      return;
    }
  }
  for (int32_t i = 0; i < kNumberedMarks; ++i) {
    RouteCell& mark = cell(model, m - i);
    mark.kind = kSlowdownApproachCell;
    note_placed(model, m - i);
    mark.value_1 = low16(i + 1);
    if (d_v != 0) mark.value_2 = low16(i + 1);
  }
}

}  // namespace tracciato
