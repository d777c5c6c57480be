#include "authoring/route_view_data.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "authoring/record_meaning.h"
#include "authoring/route_plot.h"
#include "text/windows1252.h"

namespace tracciato {
namespace {

using Json = nlohmann::ordered_json;

// The plan is sent at most this many points: enough for a smooth track at
// every zoom, and a long line's page stays small.
constexpr size_t kMostPlanPoints = 20000;

// The records the marks point at, each written once and named by its index.
class RecordTable {
 public:
  explicit RecordTable(const ViewSources& sources) : sources_(sources) {}

  Json ref(const LoggedRecord* record) {
    if (record == nullptr) return nullptr;
    const auto [it, added] = index_.try_emplace(record, table_.size());
    if (added) table_.push_back(describe(*record));
    return it->second;
  }

  Json take() { return std::move(table_); }

 private:
  Json describe(const LoggedRecord& r) const {
    Json values = Json::array();
    for (size_t i = 0; i < r.values.size() && i < r.rule->values.size(); ++i) {
      const ValueRule& rule = r.rule->values[i];
      const LoggedValue& v = r.values[i];
      values.push_back(Json::array(
          {std::string(rule.name),
           rule.width == ValueWidth::kText ? Json(windows1252_to_utf8(v.text)) : Json(v.number),
           std::string(rule.unit)}));
    }
    const bool line = r.description == Description::kLine;
    return {{"f", line ? sources_.line_file : sources_.train_file},
            {"l", r.key_site.line},
            {"c", r.key_site.column},
            {"k", windows1252_to_utf8(r.key)},
            {"n", std::string(r.rule->name)},
            {"v", std::move(values)}};
  }

  const ViewSources& sources_;
  std::unordered_map<const LoggedRecord*, size_t> index_;
  Json table_ = Json::array();
};

class ViewBuilder {
 public:
  ViewBuilder(const ScenarioModel& model, const RecordLog& log, const ViewSources& sources)
      : model_(model), log_(log), records_(sources) {}

  // The cell's eleven stored values, its kind's name and the record that
  // placed its object.
  Json cell(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= model_.route_cells.size()) return nullptr;
    const RouteCell& c = model_.route_cells[static_cast<size_t>(index)];
    return Json::array({c.kind, c.value_1, c.value_2, c.value_3, c.value_4, c.signal_time,
                        c.approach_code, c.span_kind, c.speed_limit, c.gradient, c.adhesion});
  }

  Json origin(int32_t index) {
    const CellOrigin* o = model_.cell_origins.origin(index);
    return o == nullptr ? Json(nullptr) : records_.ref(log_.at(o->description, o->site));
  }

  // A mark of one cell: its position, cell, stored values and record.
  Json mark(int32_t position, int32_t cell_index) {
    return {{"p", position}, {"c", cell_index}, {"s", cell(cell_index)}, {"r", origin(cell_index)}};
  }

  Json steps(const std::vector<ProfileStep>& steps, RecordKind kind) {
    Json out = Json::array();
    for (const ProfileStep& s : steps) {
      const int32_t first_cell = plotted_cell(s.from_m);
      out.push_back(Json::array(
          {s.from_m, s.to_m, s.value, records_.ref(log_.profile_at(kind, first_cell))}));
    }
    return out;
  }

  Json plan(const RoutePlot& plot) {
    Json points = Json::array();
    const size_t every =
        std::max<size_t>(1, (plot.plan.size() + kMostPlanPoints - 1) / kMostPlanPoints);
    for (size_t i = 0; i < plot.plan.size(); i += every) {
      // Decimetres are more than a drawing needs, and keep the page small.
      points.push_back(std::round(plot.plan[i].x * 10) / 10);
      points.push_back(std::round(plot.plan[i].y * 10) / 10);
    }
    return {{"step", static_cast<int32_t>(every) * kPlanStep}, {"xy", std::move(points)}};
  }

  Json build() {
    const RoutePlot plot = route_plot(model_);
    Json view;
    view["line"] = plot.line_name;
    view["train"] = plot.train_number;
    view["length"] = plot.line_length;
    view["track"] = plot.track_length;
    view["cells"] = model_.last_cell;
    view["plan"] = plan(plot);
    view["gradient"] = steps(plot.gradient, RecordKind::kGradient);
    view["speed"] = steps(plot.speed_limit, RecordKind::kSpeedLimit);
    view["adhesion"] = steps(plot.adhesion, RecordKind::kAdhesion);

    Json stations = Json::array();
    const std::vector<const LoggedRecord*> station_records = log_.of_kind(RecordKind::kStation);
    for (const PlotStation& s : plot.stations) {
      // Stations take the item entries 1 upward in the order they are read.
      const size_t order = static_cast<size_t>(s.entry) - 1;
      const LoggedRecord* record =
          order < station_records.size() ? station_records[order] : nullptr;
      stations.push_back(
          {{"e", s.entry},
           {"n", s.name},
           {"k", s.kind},
           {"p", s.position},
           {"a", s.span_from},
           {"b", s.span_to},
           {"t", s.time ? Json(time_of_day(*s.time)) : Json(nullptr)},
           {"stop", s.stops},
           {"c", stop_cell(s.entry)},
           {"s", stop_cell(s.entry).is_null() ? Json(nullptr) : cell(stop_cell(s.entry))},
           {"r", records_.ref(record)}});
    }
    view["stations"] = std::move(stations);

    Json signals = Json::array();
    for (const PlotSignal& s : plot.signals) {
      Json m = mark(s.position, s.cell);
      m["m"] = s.meaning;
      signals.push_back(std::move(m));
    }
    view["signals"] = std::move(signals);

    Json codes = Json::array();
    for (const PlotApproachCode& a : plot.approach_codes) {
      codes.push_back(Json::array({a.cell, a.code, approach_meaning(a.code)}));
    }
    view["codes"] = std::move(codes);
    view["abbattimenti"] = cell_marks(plot.abbattimenti);
    view["signs"] = cell_marks(plot.signs);
    view["indicators"] = cell_marks(plot.speed_indicators);

    Json slowdowns = Json::array();
    for (const PlotSlowdown& s : plot.slowdowns) {
      const int32_t start_cell = plotted_cell(s.start);
      Json m = mark(s.start, start_cell);
      m["b"] = s.end;
      m["v"] = s.speed;
      m["w"] = s.warning ? Json(*s.warning) : Json(nullptr);
      slowdowns.push_back(std::move(m));
    }
    view["slowdowns"] = std::move(slowdowns);

    Json spans = Json::array();
    const std::vector<const LoggedRecord*> span_records = log_.of_kind(RecordKind::kMountainSpan);
    for (const PlotSpan& s : plot.spans) {
      const size_t order = static_cast<size_t>(s.number) - 1;
      spans.push_back(
          {{"i", s.number},
           {"p", s.start},
           {"b", s.end},
           {"k", s.kind},
           {"r", records_.ref(order < span_records.size() ? span_records[order] : nullptr)}});
    }
    view["spans"] = std::move(spans);

    Json curves = Json::array();
    for (const LoggedRecord* r : log_.of_kind(RecordKind::kCurve)) {
      if (r->values.size() < 2) continue;
      curves.push_back({{"p", r->values[0].number},
                        {"l", r->values[1].number},
                        {"k", windows1252_to_utf8(r->key)},
                        {"r", records_.ref(r)}});
    }
    std::sort(curves.begin(), curves.end(),
              [](const Json& a, const Json& b) { return a["p"] < b["p"]; });
    view["curves"] = std::move(curves);

    Json progressives = Json::array();
    const std::vector<const LoggedRecord*> progressive_records =
        log_.of_kind(RecordKind::kProgressive);
    for (const PlotProgressive& p : plot.progressives) {
      const LoggedRecord* record = nullptr;
      for (const LoggedRecord* r : progressive_records) {
        if (r->values.size() == 3 && r->values[0].number == p.position &&
            r->values[2].number == p.flag)
          record = r;
      }
      progressives.push_back(
          {{"p", p.position}, {"v", p.value}, {"f", p.flag}, {"r", records_.ref(record)}});
    }
    view["progressives"] = std::move(progressives);
    view["records"] = records_.take();
    return view;
  }

 private:
  Json cell_marks(const std::vector<PlotCellMark>& marks) {
    Json out = Json::array();
    for (const PlotCellMark& m : marks) {
      Json j = mark(m.position, m.cell);
      j["t"] = m.text;
      out.push_back(std::move(j));
    }
    return out;
  }

  // The stop mark of the station in item entry `entry`, if it has one.
  Json stop_cell(int entry) {
    if (stop_cells_.empty()) {
      for (size_t i = 0; i < model_.route_cells.size(); ++i) {
        const RouteCell& c = model_.route_cells[i];
        if (c.kind == kStationStopCell) stop_cells_.try_emplace(c.value_1, static_cast<int32_t>(i));
      }
      stop_cells_.try_emplace(-1, -1);  // looked once
    }
    const auto it = stop_cells_.find(entry);
    return it == stop_cells_.end() ? Json(nullptr) : Json(it->second);
  }

  const ScenarioModel& model_;
  const RecordLog& log_;
  RecordTable records_;
  std::unordered_map<int32_t, int32_t> stop_cells_;
};

}  // namespace

nlohmann::ordered_json route_view_data(const ScenarioModel& model, const RecordLog& log,
                                       const ViewSources& sources) {
  return ViewBuilder(model, log, sources).build();
}

}  // namespace tracciato
