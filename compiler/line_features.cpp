#include "compiler/line_features.h"

#include <array>

#include "compiler/checked_int.h"
#include "compiler/route_access.h"
#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

constexpr int32_t kIndicatorCellBusy = 21;
constexpr int32_t kOutsideRouteCells = 26;
constexpr int32_t kTooManySpans = 27;

// The kilometric value of a progressive flagged 1 is counted 100 m further on.
constexpr int32_t kProgressiveFlagged = 1;
constexpr int32_t kProgressiveCorrection = 100;

// Every fourth cell of a span with markers carries one.
constexpr int32_t kMarkerSpacing = 4;

// s speed x 20 + d speed / 5: the s speed in 5 km/h steps in the hundreds,
// the d speed in 5 km/h steps in the units.
constexpr int32_t kSideSpeedScale = 20;
constexpr double kOtherSideSpeedStep = 5;

struct Progressive {
  int32_t num_1, num_2, num_3;
};

Progressive load(const ItemRecord& item) { return {item.num_1, item.num_2, item.num_3}; }

void store(ItemRecord& item, const Progressive& p) {
  item.num_1 = p.num_1;
  item.num_2 = p.num_2;
  item.num_3 = p.num_3;
}

int16_t packed_speeds(int32_t s_speed, int32_t d_speed) {
  const double sum =
      static_cast<double>(checked::mul(s_speed, kSideSpeedScale)) + d_speed / kOtherSideSpeedStep;
  const int32_t v = round_half_even(sum);
  if (v < -32768 || v > 32767) throw RuntimeFailure("a packed speed does not fit 16 bits");
  return static_cast<int16_t>(v);
}

}  // namespace

void progressive_ordina(ScenarioModel& model) {
  auto& items = model.item_table;
  const Progressive t = load(items[kProgressiveTre]);
  const Progressive d = load(items[kProgressiveDue]);
  const Progressive u = load(items[kProgressiveUno]);
  const Progressive zero{0, 0, 0};

  std::array<Progressive, 3> order{zero, zero, zero};
  if (checked::add(checked::add(t.num_1, d.num_1), u.num_1) == 0) {
    // All at the origin: the one with a kilometric value leads; a later test
    // overrides an earlier one.
    if (t.num_2 > 0) order = {t, d, u};
    if (d.num_2 > 0) order = {d, t, u};
    if (u.num_2 > 0) order = {u, d, t};
  } else if (t.num_1 > d.num_1 && t.num_1 > u.num_1) {
    order = d.num_1 > u.num_1 ? std::array{t, d, u} : std::array{t, u, d};
  } else if (d.num_1 > t.num_1 && d.num_1 > u.num_1) {
    order = t.num_1 > u.num_1 ? std::array{d, t, u} : std::array{d, u, t};
  } else if (u.num_1 > t.num_1 && u.num_1 > d.num_1) {
    order = t.num_1 > d.num_1 ? std::array{u, t, d} : std::array{u, d, t};
  }

  const int slots[3] = {kProgressiveTre, kProgressiveDue, kProgressiveUno};
  for (int i = 0; i < 3; ++i) store(items[slots[i]], order[i]);
  for (const int slot : slots) {
    if (items[slot].num_3 == kProgressiveFlagged) {
      items[slot].num_2 = checked::add(items[slot].num_2, kProgressiveCorrection);
    }
  }
}

void memo_montagna(ScenarioModel& model, int32_t inizio, int32_t fine, int32_t& tipo) {
  const int32_t last_cell = require_last_cell(model);
  if (model.span_count >= kMaxSpans) {
    model.error_code = kTooManySpans;
    return;
  }
  // A span covers the cells its metres fall into, not the point-feature cells:
  // 750 to 1300 m is cells 15 to 25.
  const int32_t first = round_half_even(inizio / static_cast<double>(kCellLength));
  const int32_t last = round_half_even(fine / static_cast<double>(kCellLength) - 1);
  if (first <= last && (first < 0 || last > last_cell)) {
    model.error_code = kOutsideRouteCells;
    return;
  }

  bool markers = false;
  if (tipo > kMarkerSpanKindOffset) {
    tipo -= kMarkerSpanKindOffset;
    markers = true;
  }
  model.span_count += 1;
  model.span_starts[static_cast<size_t>(model.span_count)] = inizio;
  model.span_ends[static_cast<size_t>(model.span_count)] = fine;
  // A span that starts close behind the previous one (or inside it) is kind 3;
  // markers once asked for stay asked for.
  if (model.span_count > 1 &&
      checked::sub(inizio, model.span_ends[static_cast<size_t>(model.span_count - 1)]) <=
          kSpanJoinGap) {
    tipo = kJoinedSpanKind;
  }

  int32_t counter = 0;
  for (int32_t c = first; c <= last; ++c) {
    counter += 1;
    RouteCell& cell = route_cell(model, c);
    cell.span_kind = static_cast<uint8_t>(tipo);
    if (markers && counter % kMarkerSpacing == 0 && cell.kind == kEmptyCell) {
      cell.kind = kSpanMarkerCell;
    }
  }
}

void memo_indicatori_v_max(ScenarioModel& model, int32_t posizione, const SpeedIndicators& group) {
  const int32_t last_cell = require_last_cell(model);
  const int32_t c = cell_of_position(posizione);
  if (c < 0 || c > last_cell) {
    model.error_code = kOutsideRouteCells;
    return;
  }
  RouteCell& cell = route_cell(model, c);
  if (!is_free(cell)) {
    model.error_code = kIndicatorCellBusy;
    return;
  }
  cell.kind = kSpeedIndicatorCell;
  note_placed(model, c);
  cell.value_1 = packed_speeds(group.vas, group.vad);
  cell.value_2 = packed_speeds(group.vbs, group.vbd);
  cell.value_3 = packed_speeds(group.vcs, group.vcd);
  // The stripe counts are packed on their low 16 bits and wrap, as stored.
  const int32_t stripes =
      static_cast<int16_t>(group.strisces) * 10 + static_cast<int16_t>(group.strisced);
  cell.value_4 = static_cast<int16_t>(stripes);
}

}  // namespace tracciato
