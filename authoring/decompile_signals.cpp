// The train's signals read back from their cells: the decimal packing
// unpacked, the side code (3 x sx + dx) taken from the approach codes the
// signal writes before it when value_4 alone cannot tell it, and a signal
// whose packing failed once its kind was set told apart.
#include "authoring/decompile_train.h"
#include "compiler/signal_placement.h"

namespace tracciato {
namespace {

constexpr int32_t kPacked = 10;             // s in the tens, d in the units
constexpr int32_t kSidesOfTwo = 6;          // 3 x sx + dx from sx 2 on
constexpr int32_t kLongestShortTime = 100;  // signal times 1 to 100 become 101
constexpr int32_t kByte = 256;
// Tens that overflow 32 bits: the packing fails there, after the signal's
// kind is set.
constexpr int32_t kOverflowingTens = 214748365;

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

}  // namespace tracciato
