// The line's features read back: the curves from the track polyline, the
// gradients, indicator groups and indication signs from the route cells.
#include <algorithm>
#include <map>
#include <variant>

#include "authoring/decompile_context.h"
#include "authoring/description_writer.h"
#include "authoring/step_profile.h"
#include "authoring/track_curves.h"
#include "compiler/track_polyline.h"

namespace tracciato {
namespace {

constexpr uint8_t kGradientOffset = 100;  // a cell stores its gradient plus 100
constexpr int32_t kSpeedStep = 5;         // an indicator group packs speeds in 5 km/h steps
constexpr int32_t kSpeedsPacked = 100;    // s steps in the hundreds, d steps in the units
constexpr int32_t kStripesPacked = 10;

std::string entry_words(const TrackNumber& n) {
  if (const int16_t* i = std::get_if<int16_t>(&n)) return std::to_string(*i);
  if (const double* d = std::get_if<double>(&n)) return std::to_string(*d);
  return "empty";
}

void gradients(DecompileContext& ctx) {
  std::vector<uint8_t> target(ctx.cells.size());
  for (size_t c = 0; c < ctx.cells.size(); ++c) target[c] = ctx.cells[c].gradient;
  const auto steps = profile_steps(target, kGradientOffset, ctx.train_read());
  if (!steps) {
    ctx.refuse_cell(ctx.last_cell, "gradient", target.back(),
                    "no gradient record writes the route's last cells");
    return;
  }
  for (const ProfileChange& step : *steps) {
    ctx.out.line_features.push_back(
        make_record(RecordKind::kGradient, record_key(RecordKind::kGradient),
                    {kCellLength * step.cell, int32_t{step.value} - kGradientOffset}));
  }
}

// An indicator group packs each rank's speeds as s speed x 20 + d speed / 5:
// the s speed in 5 km/h steps in the hundreds, the d speed's in the units.
void speed_indicators(DecompileContext& ctx, int32_t c, const RouteCell& cell) {
  std::vector<int32_t> numbers = {DecompileContext::point_position(c)};
  const int16_t ranks[3] = {cell.value_1, cell.value_2, cell.value_3};
  std::vector<int32_t> d_side;
  for (const int16_t v : ranks) {
    numbers.push_back(v / kSpeedsPacked * kSpeedStep);
    d_side.push_back(v % kSpeedsPacked * kSpeedStep);
  }
  numbers.push_back(cell.value_4 / kStripesPacked);
  numbers.insert(numbers.end(), d_side.begin(), d_side.end());
  numbers.push_back(cell.value_4 % kStripesPacked);
  if (!ctx.fits_route(numbers[0], kFeatureMargin)) {
    ctx.refuse_cell(c, "kind", cell.kind, "an indicator group in this cell lies beyond the route");
  }
  ctx.out.line_features.push_back(make_record(
      RecordKind::kSpeedIndicators, record_key(RecordKind::kSpeedIndicators), std::move(numbers)));
}

// A station's stop mark overwrites the kind and value_1 of what its cell
// held; values left after them there are an indicator group's (its first
// rank's speeds are gone with value_1).
bool hides_indicator_group(const DecompileContext& ctx, const RouteCell& cell) {
  return ctx.train_read() && cell.kind == kStationStopCell && cell.signal_time == 0 &&
         (cell.value_2 != 0 || cell.value_3 != 0 || cell.value_4 != 0);
}

void indicator_groups(DecompileContext& ctx) {
  for (size_t c = 0; c < ctx.cells.size(); ++c) {
    RouteCell cell = ctx.cells[c];
    if (hides_indicator_group(ctx, cell)) {
      cell.value_1 = 0;
    } else if (cell.kind != kSpeedIndicatorCell) {
      continue;
    }
    speed_indicators(ctx, static_cast<int32_t>(c), cell);
  }
}

bool holds_name_only(const ItemRecord& item) {
  ItemRecord numbers = item;
  numbers.name.clear();
  return !item.name.empty() && numbers == ItemRecord{};
}

// A station's stop mark overwrites whatever its cell held, a sign among
// them: a sign whose cell is gone stood in a stop mark's cell that holds
// nothing else.
std::vector<int32_t> cells_a_sign_can_hide_in(const DecompileContext& ctx) {
  std::vector<int32_t> cells;
  if (!ctx.train_read()) return cells;
  for (size_t c = 0; c < ctx.cells.size(); ++c) {
    const RouteCell& cell = ctx.cells[c];
    if (cell.kind == kStationStopCell && cell.value_2 == 0 && cell.value_3 == 0 &&
        cell.value_4 == 0 && cell.signal_time == 0) {
      cells.push_back(static_cast<int32_t>(c));
    }
  }
  return cells;
}

// Signs take the item entries from 80 down in the order they are read, so
// the entry a sign cell names gives its place in the description.
void indication_signs(DecompileContext& ctx) {
  std::map<int32_t, int32_t, std::greater<>> cell_of_entry;
  int32_t lowest = kFirstSignSlot + 1;
  for (size_t c = 0; c < ctx.cells.size(); ++c) {
    const RouteCell& cell = ctx.cells[c];
    if (cell.kind != kIndicationSignCell) continue;
    const int32_t entry = cell.value_1;
    if (entry < 1 || entry > kFirstSignSlot || !cell_of_entry.emplace(entry, c).second) {
      ctx.refuse_cell(static_cast<int32_t>(c), "value_1", entry,
                      entry < 1 || entry > kFirstSignSlot
                          ? "a sign's item entry lies between 1 and 80"
                          : "two signs never share an item entry");
      continue;
    }
    lowest = std::min(lowest, entry);
  }
  const std::vector<int32_t> hiding = cells_a_sign_can_hide_in(ctx);
  size_t hidden = 0;
  for (int32_t entry = kFirstSignSlot; entry >= lowest; --entry) {
    if (cell_of_entry.count(entry) != 0) continue;
    if (hidden == hiding.size() || !holds_name_only(ctx.items[static_cast<size_t>(entry)])) {
      ctx.refuse_item(entry, "name", ctx.items[static_cast<size_t>(entry)].name,
                      "signs take the entries from 80 down with none left out, and no cell "
                      "names this one");
      continue;
    }
    cell_of_entry[entry] = hiding[hidden++];
  }
  // The last signs' cells may all be gone.
  while (lowest > 1 && hidden < hiding.size() &&
         holds_name_only(ctx.items[static_cast<size_t>(lowest - 1)])) {
    --lowest;
    cell_of_entry[lowest] = hiding[hidden++];
  }
  ctx.lowest_sign = lowest;
  for (const auto& [entry, c] : cell_of_entry) {
    const std::string& text = ctx.items[static_cast<size_t>(entry)].name;
    if (!text_field(text)) {
      ctx.refuse_item(entry, "name", text,
                      "no field reads back as this text: it begins with a double quote, or needs "
                      "quoting and holds one");
    }
    const int32_t p = DecompileContext::point_position(c);
    if (!ctx.fits_route(p, kFeatureMargin)) {
      ctx.refuse_cell(c, "kind", kIndicationSignCell, "a sign in this cell lies beyond the route");
    }
    ctx.out.line_features.push_back(make_record(
        RecordKind::kIndicationSign, record_key(RecordKind::kIndicationSign), {p, 0}, text));
  }
}

}  // namespace

void decompile_curves(DecompileContext& ctx) {
  if (ctx.track == nullptr) return;
  const TrackShape shape = track_shape(*ctx.track);
  for (const TrackFault& fault : shape.faults) {
    ctx.refuse_track(
        fault.metre, fault.coordinate,
        entry_words(
            (*ctx.track)[static_cast<size_t>(fault.metre)][static_cast<size_t>(fault.coordinate)]),
        fault.why);
  }
  if (!shape.faults.empty()) return;
  // A description read past its general section starts the track; one read
  // to its end runs it straight on to its third-last row.
  const int32_t full = ctx.track_length - 1;
  const bool fits = ctx.end == ReadingEnd::kInGeneral ? shape.written == 0
                    : ctx.train_read()                ? shape.written == full
                                                      : shape.written >= 2;
  if (!fits) {
    const int32_t metre = std::min(shape.written, static_cast<int32_t>(ctx.track->size()) - 1);
    ctx.refuse_track(metre, 0, entry_words((*ctx.track)[static_cast<size_t>(metre)][0]),
                     "a description " + std::string(reading_end_words(ctx.end)) +
                         " does not end the track at metre " + std::to_string(shape.written));
    return;
  }
  int32_t reached = 1;  // the last row the records compute
  for (const TrackCurve& curve : shape.curves) {
    if (!ctx.fits_route(curve.start, kFeatureMargin)) {
      ctx.refuse_track(curve.start + 1, 0, entry_words((*ctx.track)[curve.start + 1][0]),
                       "a curve starting here lies beyond the route for a curve record");
    }
    ctx.out.line_features.push_back(
        make_record(RecordKind::kCurve, *curve_key(curve.k), {curve.start, curve.length}));
    reached = curve.start + curve.length;
  }
  // A reading that stopped in the features ran the track straight only as
  // far as a curve record took it: one of length 0 ends the straight run.
  if (ctx.end == ReadingEnd::kInFeatures && shape.written - 1 > reached) {
    ctx.out.line_features.push_back(make_record(
        RecordKind::kCurve, *curve_key(curvature_classes().front().k), {shape.written - 1, 0}));
  }
}

void decompile_line_features(DecompileContext& ctx) {
  gradients(ctx);
  decompile_mountain_spans(ctx);
  indicator_groups(ctx);
  indication_signs(ctx);
}

}  // namespace tracciato
