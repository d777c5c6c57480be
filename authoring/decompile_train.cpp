// The train description read back: its general data from items 84 and 86,
// the adhesion and speed-limit profiles from the cells, then the stations,
// slowdowns, signals and abbattimento marks in an order the compile leaves
// every approach code of.
#include "authoring/decompile_train.h"

#include <map>
#include <set>

#include "authoring/step_profile.h"

namespace tracciato {
namespace {

constexpr int32_t kSpeedStep = 5;  // speed_limit holds km/h divided by 5

void general_data(DecompileContext& ctx) {
  const ItemRecord& general = ctx.items[kGeneralData];
  const ItemRecord& train = ctx.items[kTrainIdentity];
  std::vector<DescriptionRecord>& out = ctx.out.train;
  out.push_back(
      make_record(RecordKind::kCoaches, record_key(RecordKind::kCoaches), {general.num_3}));
  out.push_back(
      make_record(RecordKind::kBrakedMass, record_key(RecordKind::kBrakedMass), {general.num_1}));
  out.push_back(make_record(RecordKind::kSand, record_key(RecordKind::kSand), {train.small_1}));
  out.push_back(make_record(RecordKind::kClock, record_key(RecordKind::kClock),
                            {train.small_3, train.small_4, train.small_5}));
}

void profile(DecompileContext& ctx, RecordKind kind, uint8_t RouteCell::*field, int32_t scale,
             bool with_tail) {
  std::vector<uint8_t> target(ctx.cells.size());
  for (size_t c = 0; c < ctx.cells.size(); ++c) target[c] = ctx.cells[c].*field;
  const auto steps = profile_steps(target, 0, with_tail);
  if (!steps) {
    ctx.refuse_cell(ctx.last_cell, kind == RecordKind::kSpeedLimit ? "speed_limit" : "adhesion",
                    target.back(), "no profile record writes the route's last cells");
    return;
  }
  for (const ProfileChange& step : *steps) {
    ctx.out.train.push_back(make_record(kind, record_key(kind),
                                        {kCellLength * step.cell, scale * int32_t{step.value}}));
  }
}

// The approach codes the writers leave in this order, each cell's last
// writer's; a writer whose codes do not stand where it writes them is
// refused at the value that gives them.
void refuse_unstood_approach_codes(DecompileContext& ctx,
                                   const std::vector<const ApproachWriter*>& order) {
  std::map<int32_t, std::pair<uint8_t, const ApproachWriter*>> last;
  for (const ApproachWriter* writer : order) {
    for (const auto& [cell, code] : writer->codes) last[cell] = {code, writer};
  }
  std::set<const ApproachWriter*> refused;
  for (const auto& [cell, written] : last) {
    const auto& [code, writer] = written;
    if (ctx.cells[static_cast<size_t>(cell)].approach_code == code ||
        !refused.insert(writer).second) {
      continue;
    }
    const int32_t p = writer->record.numbers[0];
    if (writer->record.kind == RecordKind::kSignal) {
      const int32_t c = cell_of_position(p);
      ctx.refuse_cell(c, "value_4", ctx.cells[static_cast<size_t>(c)].value_4,
                      "the signal's side code (3 x sx + dx, the units of value_4) gives approach "
                      "code " +
                          std::to_string(code) + " in cell " + std::to_string(cell) +
                          ", which holds " +
                          std::to_string(ctx.cells[static_cast<size_t>(cell)].approach_code));
    }
  }
}

}  // namespace

void decompile_train(DecompileContext& ctx) {
  const bool complete = ctx.end == ReadingEnd::kComplete;
  general_data(ctx);
  profile(ctx, RecordKind::kAdhesion, &RouteCell::adhesion, 1, complete);
  profile(ctx, RecordKind::kSpeedLimit, &RouteCell::speed_limit, kSpeedStep, complete);

  TrainPlacements placements;
  read_stations(ctx, placements);
  read_signals(ctx, placements);
  read_slowdowns(ctx, placements);
  read_abbattimenti(ctx, placements);

  // The stations and signals in the order their approach codes need, the
  // slowdowns before the first signal (under their heading), the marks last.
  std::vector<DescriptionRecord>& out = ctx.out.train;
  bool slowdowns_written = false;
  const std::vector<const ApproachWriter*> order = approach_order(placements, ctx.cells);
  refuse_unstood_approach_codes(ctx, order);
  for (const ApproachWriter* writer : order) {
    if (!slowdowns_written && writer->record.kind == RecordKind::kSignal) {
      out.insert(out.end(), placements.slowdowns.begin(), placements.slowdowns.end());
      slowdowns_written = true;
    }
    out.push_back(writer->record);
  }
  if (!slowdowns_written) {
    out.insert(out.end(), placements.slowdowns.begin(), placements.slowdowns.end());
  }
  out.insert(out.end(), placements.abbattimenti.begin(), placements.abbattimenti.end());

  if (placements.last_station) {
    // It ends the reading; one beyond the route lets the profiles run on.
    if (placements.last_station_beyond_route != complete) {
      ctx.refuse_item(static_cast<int32_t>(placements.stations.size()) + 1, "num_3",
                      std::to_string(placements.last_station->record.numbers[0]),
                      complete ? "the compile refuses this station and reads nothing after it, "
                                 "but the profiles ran on to the route's end"
                               : "a station beyond the route lets the profiles run on to the "
                                 "route's end, but they stop short");
    }
    out.push_back(placements.last_station->record);
  }
  if (placements.failed_signal) {
    if (complete || placements.last_station) {
      ctx.refuse_cell(cell_of_position(placements.failed_signal->numbers[0]), "value_4", 0,
                      "a signal of which only the kind is stored ends the reading, which must "
                      "then end there");
    }
    out.push_back(*placements.failed_signal);
  }
}

}  // namespace tracciato
