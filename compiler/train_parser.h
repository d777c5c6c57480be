// The train phase of memorizza_dati: reads the train description (train
// data, speed-limit and adhesion profiles, stations, signals, slowdowns and
// abbattimento marks) into the scenario model.
//
// Records are recognised by the keys their key field contains, in any case;
// every key a field contains runs its record. A problem is recorded in
// error_code / error_position / error_site and ends the phase; a position
// beyond the route (code 15) still completes both profiles and checks the
// kilometric progressives.
#pragma once

#include <cstdint>
#include <span>

#include "compiler/description_source.h"
#include "compiler/description_walk.h"
#include "compiler/scenario_model.h"

namespace tracciato {

// Runs the train phase. `sign_slot` is the highest item entry the line's
// indication signs left free (80 minus the number of signs); stations fill
// the entries from 1 up to it. error_code may be 15 on entry, when the line
// phase met a feature beyond the route: the records are then read as usual,
// and the first signal or slowdown record ends the phase at its position.
//
// Calls source.discard_train() on every way out but one: a RuntimeFailure
// (the train text cannot be had, a value that does not fit its field, a read
// past the end, a 32-bit overflow, no route cells yet) propagates to the
// caller's handler, which records code 25 and discards both descriptions.
// error_site is already set when it propagates. `listeners` hear the walk
// after the placement.
void read_train_description(ScenarioModel& model, DescriptionSource& source, int32_t sign_slot,
                            std::span<ParseListener* const> listeners = {});

}  // namespace tracciato
