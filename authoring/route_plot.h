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

struct RoutePlot {
  std::string line_name;  // UTF-8
  std::string train_number;
  int32_t line_length = 0;
  int32_t track_length = 0;
  std::vector<PlanPoint> plan;           // every kPlanStep metres from 0, while written
  std::vector<ProfileStep> gradient;     // per mille
  std::vector<ProfileStep> speed_limit;  // km/h
  std::vector<PlotStation> stations;
  std::vector<PlotSignal> signals;
  std::vector<PlotSpan> spans;
  std::vector<PlotSlowdown> slowdowns;
};

inline constexpr int32_t kPlanStep = 10;  // metres between plan points

// REQUIRES: model.has_route().
RoutePlot route_plot(const ScenarioModel& model);

}  // namespace tracciato
