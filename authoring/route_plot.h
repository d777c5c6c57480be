// What the route plot shows, taken from a compiled scenario model: the track
// in plan, the stretch profiles cell by cell, and the objects along the route
// at the positions the compiler put them. Positions are metres from the
// line's origin; a route cell n covers (n - 1) x 50 to n x 50 m.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "authoring/record_meaning.h"
#include "compiler/scenario_model.h"

namespace tracciato {

// A stretch of a profile with one value.
struct ProfileStep {
  int32_t from_m = 0;
  int32_t to_m = 0;
  int32_t value = 0;
};

struct PlanPoint {
  double x = 0;
  double y = 0;
};

struct PlotStation {
  int entry = 0;
  std::string name;  // UTF-8
  uint8_t kind = 0;
  int32_t position = 0;
  int32_t span_from = 0;
  int32_t span_to = 0;
  std::optional<int32_t> time;  // seconds of the day; none when the entry holds 0
  bool stops = true;            // kinds 25 and above are passed, not served
};

struct PlotSignal {
  int32_t cell = 0;
  int32_t position = 0;
  std::string meaning;  // the aspect numbers as inspect shows them
};

struct PlotSpan {
  int number = 0;  // 1 upward, in file order
  int32_t start = 0;
  int32_t end = 0;
  uint8_t kind = 0;  // as stored in the span's first cell
};

struct PlotSlowdown {
  int32_t start = 0;
  int32_t end = 0;  // the start when no end mark follows
  int16_t speed = 0;
  std::optional<int32_t> warning;  // the warning board, when it has one
};

// An object in one cell: an indication sign (its text), a speed indicator
// group or an abbattimento cell (their values unpacked).
struct PlotCellMark {
  int32_t cell = 0;
  int32_t position = 0;  // where the cell begins
  std::string text;      // UTF-8
};

// A code written into a cell before a signal or a station.
struct PlotApproachCode {
  int32_t cell = 0;
  uint8_t code = 0;
};

// A kilometric progressive as the compile sorted it.
struct PlotProgressive {
  int slot = 0;
  int32_t position = 0;
  int32_t value = 0;  // metres, the flag's 100 m already added
  int32_t flag = 0;
};

struct RoutePlot {
  std::string line_name;  // UTF-8
  std::string train_number;
  int32_t line_length = 0;
  int32_t track_length = 0;
  std::vector<PlanPoint> plan;           // every kPlanStep metres from 0, while written
  std::vector<ProfileStep> gradient;     // per mille
  std::vector<ProfileStep> speed_limit;  // km/h
  std::vector<ProfileStep> adhesion;     // as stored
  std::vector<PlotStation> stations;
  std::vector<PlotSignal> signals;
  std::vector<PlotSpan> spans;
  std::vector<PlotSlowdown> slowdowns;
  std::vector<PlotCellMark> signs;
  std::vector<PlotCellMark> speed_indicators;
  std::vector<PlotCellMark> abbattimenti;
  std::vector<PlotApproachCode> approach_codes;
  std::vector<PlotProgressive> progressives;  // those that hold anything
};

inline constexpr int32_t kPlanStep = 10;  // metres between plan points

// The cell a plotted object's position (where its cell begins) stands for.
inline int32_t plotted_cell(int32_t position) { return position / kCellLength + 1; }

// REQUIRES: model.has_route().
RoutePlot route_plot(const ScenarioModel& model);

// The progressives the compile stored (items 81 to 83) that hold anything.
std::vector<PlotProgressive> progressives_of(const ScenarioModel& model);

// The kilometric value at `position`: counted down along the route from the
// progressive in force there, as the line's signs read; nullopt before the
// first progressive.
std::optional<int32_t> kilometric_value(const std::vector<PlotProgressive>& progressives,
                                        int32_t position);

}  // namespace tracciato
