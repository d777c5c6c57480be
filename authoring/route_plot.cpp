#include "authoring/route_plot.h"

#include "text/windows1252.h"

namespace tracciato {
namespace {

constexpr int32_t kGradientOffset = 100;
constexpr int32_t kSpeedStep = 5;
constexpr uint8_t kFirstKindWithoutStop = 25;

int32_t cell_start(size_t cell) { return (static_cast<int32_t>(cell) - 1) * kCellLength; }

// Runs of equal values over the route cells, each cell covering its 50 m.
template <typename ValueOf>
std::vector<ProfileStep> profile(const std::vector<RouteCell>& cells, ValueOf value_of) {
  std::vector<ProfileStep> steps;
  for (size_t i = 0; i < cells.size(); ++i) {
    const int32_t v = value_of(cells[i]);
    if (!steps.empty() && steps.back().value == v) {
      steps.back().to_m = cell_start(i) + kCellLength;
    } else {
      steps.push_back({cell_start(i), cell_start(i) + kCellLength, v});
    }
  }
  return steps;
}

std::vector<PlanPoint> plan_of(const TrackStore& track) {
  std::vector<PlanPoint> plan;
  for (int32_t m = 0; m < track.written(); m += kPlanStep) {
    plan.push_back({track.coordinate(m, 0), track.coordinate(m, 1)});
  }
  return plan;
}

std::vector<PlotStation> stations_of(const ScenarioModel& model) {
  const std::vector<ItemRecord> items(model.item_table.begin(), model.item_table.end());
  const std::vector<ItemRole> roles = item_roles(items);
  std::vector<PlotStation> stations;
  for (size_t entry = 1; entry < items.size(); ++entry) {
    if (roles[entry] != ItemRole::kStation) continue;
    const ItemRecord& item = items[entry];
    PlotStation s;
    s.entry = static_cast<int>(entry);
    s.name = windows1252_to_utf8(item.name);
    s.kind = item.kind;
    s.position = item.num_3;
    s.span_from = item.num_1;
    s.span_to = item.num_2;
    if (item.num_4 != 0) s.time = item.num_4;
    s.stops = item.kind < kFirstKindWithoutStop;
    stations.push_back(std::move(s));
  }
  return stations;
}

std::vector<PlotSpan> spans_of(const ScenarioModel& model) {
  std::vector<PlotSpan> spans;
  for (int32_t i = 1; i <= model.span_count && i < kSpanTableSize; ++i) {
    PlotSpan span{i, model.span_starts[i], model.span_ends[i], 0};
    const int32_t first = round_half_even(span.start / static_cast<double>(kCellLength));
    if (first >= 0 && first < static_cast<int32_t>(model.route_cells.size())) {
      span.kind = model.route_cells[static_cast<size_t>(first)].span_kind;
    }
    spans.push_back(span);
  }
  return spans;
}

// Each start mark with the next end mark after it, and the warning board
// that stands before it at the same speed.
std::vector<PlotSlowdown> slowdowns_of(const std::vector<RouteCell>& cells) {
  std::vector<PlotSlowdown> slowdowns;
  std::vector<size_t> boards;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (cells[i].kind == kSlowdownWarningCell) boards.push_back(i);
    if (cells[i].kind != kSlowdownStartCell) continue;
    PlotSlowdown s{cell_start(i), cell_start(i), cells[i].value_1, std::nullopt};
    for (size_t j = i + 1; j < cells.size(); ++j) {
      if (cells[j].kind == kSlowdownEndCell) {
        s.end = cell_start(j);
        break;
      }
      if (cells[j].kind == kSlowdownStartCell) break;
    }
    for (auto it = boards.rbegin(); it != boards.rend(); ++it) {
      if (cells[*it].value_1 == s.speed) {
        s.warning = cell_start(*it);
        boards.erase(std::next(it).base());
        break;
      }
    }
    slowdowns.push_back(s);
  }
  return slowdowns;
}

// The objects of one cell that are not signals, stations or slowdowns.
void cell_marks(const ScenarioModel& model, RoutePlot& plot) {
  for (size_t i = 0; i < model.route_cells.size(); ++i) {
    const RouteCell& c = model.route_cells[i];
    const auto cell = static_cast<int32_t>(i);
    if (c.approach_code != 0) plot.approach_codes.push_back({cell, c.approach_code});
    switch (c.kind) {
      case kIndicationSignCell: {
        const bool entry = c.value_1 > 0 && c.value_1 < kItemCount;
        plot.signs.push_back(
            {cell, cell_start(i),
             entry ? windows1252_to_utf8(model.item_table[static_cast<size_t>(c.value_1)].name)
                   : ""});
        break;
      }
      case kSpeedIndicatorCell:
        plot.speed_indicators.push_back({cell, cell_start(i), cell_meaning(c, i)});
        break;
      case kAbbattimentoValueCell:
      case kAbbattimentoCell:
        plot.abbattimenti.push_back({cell, cell_start(i), cell_meaning(c, i)});
        break;
      default:
        break;
    }
  }
}

}  // namespace

std::vector<PlotProgressive> progressives_of(const ScenarioModel& model) {
  std::vector<PlotProgressive> found;
  for (int slot : {kProgressiveTre, kProgressiveDue, kProgressiveUno}) {
    const ItemRecord& p = model.item_table[static_cast<size_t>(slot)];
    if (p.num_1 == 0 && p.num_2 == 0 && p.num_3 == 0) continue;
    found.push_back({slot, p.num_1, p.num_2, p.num_3});
  }
  return found;
}

std::optional<int32_t> kilometric_value(const std::vector<PlotProgressive>& progressives,
                                        int32_t position) {
  const PlotProgressive* in_force = nullptr;
  for (const PlotProgressive& p : progressives) {
    if (p.position <= position && (in_force == nullptr || p.position > in_force->position)) {
      in_force = &p;
    }
  }
  if (in_force == nullptr) return std::nullopt;
  return in_force->value - (position - in_force->position);
}

RoutePlot route_plot(const ScenarioModel& model) {
  RoutePlot plot;
  plot.line_name = windows1252_to_utf8(model.line_name);
  plot.train_number = windows1252_to_utf8(model.train_number);
  plot.line_length = model.item_table[kGeneralData].num_2;
  plot.track_length = model.track_length;
  plot.plan = plan_of(model.track_points);
  plot.gradient = profile(model.route_cells,
                          [](const RouteCell& c) { return int32_t{c.gradient} - kGradientOffset; });
  plot.speed_limit = profile(
      model.route_cells, [](const RouteCell& c) { return int32_t{c.speed_limit} * kSpeedStep; });
  plot.adhesion =
      profile(model.route_cells, [](const RouteCell& c) { return int32_t{c.adhesion}; });
  plot.stations = stations_of(model);
  for (size_t i = 0; i < model.route_cells.size(); ++i) {
    const RouteCell& c = model.route_cells[i];
    if (c.kind == kSignalCell)
      plot.signals.push_back({static_cast<int32_t>(i), cell_start(i), cell_meaning(c, i)});
  }
  plot.spans = spans_of(model);
  plot.slowdowns = slowdowns_of(model.route_cells);
  cell_marks(model, plot);
  plot.progressives = progressives_of(model);
  return plot;
}

}  // namespace tracciato
