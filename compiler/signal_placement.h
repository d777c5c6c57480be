// Placing one signal and one slowdown of the train description into the route
// cells.
//
// Each procedure checks that the cells it is about to mark are free, writes
// kinds and values, and reports a conflict by storing a code in error_code;
// it never reads error_code and leaves it alone on success. Storing the
// record's position in error_position and ending the parse are the caller's.
// Values are computed in 32-bit arithmetic (an overflow is a RuntimeFailure)
// and stored as the low 16 or 8 bits of their field.
#pragma once

#include <cstdint>

#include "compiler/scenario_model.h"

namespace tracciato {

// Below this start a slowdown has no warning board (and so no numbered marks).
inline constexpr int32_t kWarningBoardFrom = 1500;
inline constexpr int32_t kWarningDistance = 1200;  // metres from the board to the start
inline constexpr int32_t kNumberedMarks = 4;       // just before the board
inline constexpr int kSignalApproachCells = 4;

// The warning board's cell of a slowdown starting at x: the point-feature
// cell of x - 1200. Throws RuntimeFailure when x - 1200 overflows.
int32_t warning_board_cell(int32_t x);

// The first of the numbered marks' cells m, m - 1, m - 2, m - 3:
// m = round_half_even((x - 1200) / 50), one cell before the board when x is
// a multiple of 50.
int32_t first_numbered_mark_cell(int32_t x);

// A signal at `posizione` into cell_of_position(posizione): kind 1, the
// aspect numbers packed in decimal (value_1..3 = 10 * s + d, value_4 =
// 10 * rapp + 3 * sx + dx), the signal time when sx is 2, and the approach
// code 10 * (3 * sx + dx) + k in the cells 2k before it (k = 1..4), whatever
// those cells hold. `tempo` from 1 to 100 becomes 101.
// Codes: 26 when the signal's cell lies outside the route (nothing written;
// approach cells before cell 0 are simply skipped), 16 when it is busy.
// The kind is set before the values are computed, so an overflow leaves it.
// Throws RuntimeFailure when the model has no route cells yet.
void memo_segnale(ScenarioModel& model, int32_t posizione, int32_t sx, int32_t s1, int32_t s2,
                  int32_t s3, int32_t rapp, int32_t dx, int32_t d1, int32_t d2, int32_t d3,
                  int32_t& tempo);

// A slowdown of speed `v` from `x` over `l` metres: start (kind 3), end
// (kind 2), and, when x > 1500, the warning board 1200 m before the start
// (kind 4) and, with f_ta set, four numbered marks just before the board
// (kind 5). d_v, when not 0, goes into value_2 of every mark.
// Codes, all checked before anything is written except 20: 28 when l < 0;
// 26 when the start cell lies before cell 0 or the end cell beyond last_cell;
// 17 warning cell busy, 18 start cell busy, 19 end cell busy; 20 when a
// numbered mark's cell is busy, leaving the start, end and warning marks.
// Throws RuntimeFailure when the model has no route cells yet.
void memo_rallentamento(ScenarioModel& model, int32_t x, int32_t v, int32_t l, int32_t f_tt,
                        int32_t f_ta, int32_t d_v);

}  // namespace tracciato
