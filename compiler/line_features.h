// Placing the line's own features: the order of the kilometric progressives,
// the mountain spans and the maximum-speed indicator groups.
//
// The line parser calls these once per record after its own position check.
// They report a refused record only through error_code; storing the record's
// position and ending the parse are the parser's. Arithmetic on the values is
// 32-bit and checked: an overflow, or a value that does not fit its field, is
// a RuntimeFailure (code 25).
#pragma once

#include <cstdint>

#include "compiler/scenario_model.h"

namespace tracciato {

inline constexpr int32_t kMaxSpans = kSpanTableSize - 1;  // span entries 1 to 80
inline constexpr int32_t kSpanJoinGap = 150;  // metres: a span this close behind is kind 3
inline constexpr int32_t kJoinedSpanKind = 3;
inline constexpr int32_t kMarkerSpanKindOffset = 10;  // a kind above 10 asks for markers

// Puts the progressive records of slots 81 ("tre"), 82 ("due") and 83 ("uno")
// in their final order, then adds 100 to the kilometric value of each record
// whose flag (num_3) is 1. Records that cannot be ordered (all at the origin
// and none with a positive value, or no strictly largest position) become
// all zero.
void progressive_ordina(ScenarioModel& model);

// Records the span `inizio`..`fine` and stamps `tipo` into span_kind of its
// cells round_half_even(inizio / 50) to round_half_even(fine / 50 - 1); a tipo
// above 10 loses the 10 and asks for a marker (kind 11) on every fourth cell
// that holds nothing. A span that starts 150 m or less after the previous one
// ends becomes kind 3. `tipo` is changed accordingly.
// Codes, nothing changed: 27 when 80 spans are already recorded; 26 when the
// span has cells and one of them lies outside 0 to last_cell.
// Throws RuntimeFailure when the model has no route cells yet.
void memo_montagna(ScenarioModel& model, int32_t inizio, int32_t fine, int32_t& tipo);

// The eight numbers of a maximum-speed indicator group: speeds for the ranks
// A, B and C and a stripe count, for the s side and the d side.
struct SpeedIndicators {
  int32_t vas = 0, vbs = 0, vcs = 0, strisces = 0;
  int32_t vad = 0, vbd = 0, vcd = 0, strisced = 0;
};

// An indicator group into cell round_half_even(posizione / 50 + 1): kind 6,
// value_1..3 = R(s speed x 20 + d speed / 5) per rank (R: half-even rounding
// to 16 bits, a RuntimeFailure outside them), value_4 = strisces x 10 +
// strisced on the low 16 bits, wrapping.
// Codes, nothing written: 26 when the cell lies outside the route, 21 when it
// is not free. The kind is set before the values are computed, so a
// failure leaves it, and each value before the next.
// Throws RuntimeFailure when the model has no route cells yet.
void memo_indicatori_v_max(ScenarioModel& model, int32_t posizione, const SpeedIndicators& group);

}  // namespace tracciato
