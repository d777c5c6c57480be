// Guarded access to the route: the route cells exist only once the line
// length has been read, and an index outside 0 to last_cell would reach
// memory that is not the model's. Either is a run-time failure (code 25),
// never a silent write.
#pragma once

#include <cstdint>

#include "compiler/runtime_failure.h"
#include "compiler/scenario_model.h"

namespace tracciato {

// last_cell of the route. Throws RuntimeFailure before the length record.
inline int32_t require_last_cell(const ScenarioModel& model) {
  if (!model.has_route())
    throw RuntimeFailure(
        "the route is needed before its length record: `lunghezza percorso` must come first");
  return model.last_cell;
}

// Cell `index` of the route. Throws RuntimeFailure when there is no route or
// the index lies outside 0 to last_cell.
inline RouteCell& route_cell(ScenarioModel& model, int32_t index) {
  const int32_t last = require_last_cell(model);
  if (index < 0 || index > last) throw RuntimeFailure("a route cell outside the route");
  return model.route_cells[static_cast<size_t>(index)];
}

}  // namespace tracciato
