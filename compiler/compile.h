// The compile steps over the scenario model, in the order the compile driver
// runs them.
#pragma once

#include <span>

#include "compiler/description_source.h"
#include "compiler/description_walk.h"
#include "compiler/scenario_model.h"

namespace tracciato {

// Reads the line description, then the train description, into the model.
// Problems are recorded in error_code / error_position / error_site, never
// thrown; a run-time failure becomes code 25. Always returns normally.
// `listeners` hear both walks after the placement does, so that what an
// author's tool shows of the records is what the compile read.
// REQUIRES: the item table was reset and error_code is 0.
void memorizza_dati(ScenarioModel& model, DescriptionSource& source,
                    std::span<ParseListener* const> listeners = {});

// Completes the signalling around slowdowns: abbattimento cells of value 180
// before the signals near a warning board, before each slowdown start, inside
// slow slowdowns and before the first signal after one.
// REQUIRES: model.has_route().
void complete_signalling(ScenarioModel& model);

}  // namespace tracciato
