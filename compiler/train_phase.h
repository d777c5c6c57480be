// The state of one train phase, shared by the record readers of
// train_parser.cpp and train_station.cpp. Not part of the compiler's
// interface.
#pragma once

#include <cstdint>
#include <vector>

#include "compiler/description_walk.h"
#include "compiler/field_reader.h"
#include "compiler/scenario_model.h"

namespace tracciato {

// What a record leaves the phase to do next.
enum class RecordEnd {
  kGoOn,      // read the next key field
  kEndSteps,  // a position beyond the route: complete the profiles and stop
  kReturn,    // a problem: discard the train description and stop
};

// A profile (speed limit or adhesion) written cell by cell as its records
// come: each record fills up to its own position with the previous value.
struct Profile {
  int32_t fill = 0;  // next cell still to be written
  int32_t last = 0;  // value of the latest record
  FieldSite last_site;
};

struct TrainPhase {
  TrainPhase(ScenarioModel& m, int32_t slot) : model(m), sign_slot(slot) {}

  ScenarioModel& model;
  RecordValues* values = nullptr;  // the values of the record at hand
  int32_t sign_slot;
  int32_t station_index = 1;
  Profile speed;
  Profile adhesion;
  FieldSite key_site;                  // the key field of the record at hand
  FieldSite failure_site;              // where a run-time failure is reported
  std::vector<FieldSite> value_sites;  // of the record at hand

  // Records a problem of the record at hand, forgetting the words of any
  // earlier one; error_position stays.
  void record_code(int32_t code);
  // Records the record's position along with the code, or alone; the code
  // points people at the record's value `field` (0: the position).
  void record_at(int32_t code, int32_t position, size_t field = 0);
  void point_code_at(size_t field);
  void record_position(int32_t position);
  // Code 15 for a record at `p` that needs `margin` metres of route after it.
  RecordEnd beyond_route(int32_t p, int32_t margin);

  // True when `p` lies inside the route, that is last_cell >= (p + margin)
  // / 50 as exact quotients. Throws RuntimeFailure when there are no route
  // cells yet or p + margin overflows.
  bool inside_route(int32_t p, int32_t margin) const;
};

inline constexpr int32_t kPositionBeyondRoute = 15;
inline constexpr int32_t kOutsideRouteCells = 26;

// The "stazione" record: the next station entry of the item table, its span,
// approach codes and stop mark.
RecordEnd read_station(TrainPhase& phase);

}  // namespace tracciato
