// A scenario file as records, one change a line or two: what `inspect
// --records` prints for git's textconv.
#include <string>

#include "authoring/inspect_report.h"
#include "authoring/record_meaning.h"
#include "authoring/track_curves.h"
#include "compiler/track_polyline.h"

namespace tracciato {
namespace {

constexpr int kGradientOffset = 100;
constexpr int kSpeedStep = 5;

std::string metres_of(size_t cell) { return std::to_string((static_cast<long>(cell) - 1) * 50); }

// Each stretch field in runs of cells of one value, so that a changed
// value changes one line whatever the other fields do.
struct StretchField {
  const char* name;
  int (*value)(const RouteCell&);
  const char* unit;
};

constexpr StretchField kStretchFields[] = {
    {"gradient", [](const RouteCell& c) { return c.gradient - kGradientOffset; }, ""},
    {"speed limit", [](const RouteCell& c) { return c.speed_limit * kSpeedStep; }, " km/h"},
    {"adhesion", [](const RouteCell& c) { return int{c.adhesion}; }, ""},
    {"span kind", [](const RouteCell& c) { return int{c.span_kind}; }, ""},
};

std::string cell_records(const std::vector<RouteCell>& cells) {
  std::string out = "cell file: " + std::to_string(cells.size()) + " cells, 0 to " +
                    std::to_string(cells.size() - 1) + "\n";
  for (const StretchField& field : kStretchFields) {
    for (size_t first = 0; first < cells.size();) {
      const int value = field.value(cells[first]);
      size_t last = first;
      while (last + 1 < cells.size() && field.value(cells[last + 1]) == value) ++last;
      out += std::string(field.name) + " " + std::to_string(value) + field.unit + ": cells " +
             std::to_string(first) + ".." + std::to_string(last) + " (from " + metres_of(first) +
             " m)\n";
      first = last + 1;
    }
  }
  for (size_t i = 0; i < cells.size(); ++i) {
    const RouteCell& c = cells[i];
    std::string object = cell_kind_name(c.kind);
    const std::string meaning = cell_meaning(c, i);
    if (!meaning.empty()) object += object.empty() ? meaning : ": " + meaning;
    const std::string approach = approach_meaning(c.approach_code);
    if (!approach.empty()) object += object.empty() ? approach : "; " + approach;
    if (object.empty()) continue;
    out += "cell " + std::to_string(i) + " (" + metres_of(i) + " m): " + object + "\n";
  }
  return out;
}

std::string track_records(const std::vector<TrackPoint>& track) {
  const TrackShape shape = track_shape(track);
  std::string out = "track file: metres 0 to " + std::to_string(track.size() - 1) +
                    ", written to metre " + std::to_string(shape.written - 1) + "\n";
  for (const TrackCurve& curve : shape.curves) {
    std::string key = "curve";
    for (const CurvatureClass& c : curvature_classes()) {
      if (c.k == curve.k || c.k == -curve.k) {
        key = std::string(curve.k < 0 ? "left" : "right") + " curve of class " + c.digit;
      }
    }
    out += key + " from metre " + std::to_string(curve.start) + ", " +
           std::to_string(curve.length) + " m long\n";
  }
  for (const TrackFault& fault : shape.faults) {
    out += "metre " + std::to_string(fault.metre) + (fault.coordinate == 0 ? " x" : " y") + ": " +
           fault.why + "\n";
  }
  return out;
}

}  // namespace

std::string inspect_records(const DecodedScenarioFile& file) {
  switch (file.kind) {
    case ScenarioFileKind::kCell:
      return cell_records(file.cells);
    case ScenarioFileKind::kItem:
      return inspect_table(file, {.range = std::nullopt, .nonzero = true});
    case ScenarioFileKind::kTrack:
      return track_records(file.track);
  }
  return "";
}

}  // namespace tracciato
