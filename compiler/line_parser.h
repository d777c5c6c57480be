// The line half of memorizza_dati: reads the line description into the
// scenario model.
//
// The description is one stream of fields (see field_reader.h). Everything up
// to a "[generale]" field is skipped; the general section then sizes the
// route and fills the fixed item slots, and the feature part that follows
// writes gradients, bends the track polyline and places mountain spans,
// indicator groups and indication signs. Records are found by substring tests
// on their key field, each in a fixed order, some ignoring ASCII case and
// some not; the simulator's files depend on every one of these rules.
#pragma once

#include <cstdint>
#include <span>

#include "compiler/description_source.h"
#include "compiler/description_walk.h"
#include "compiler/scenario_model.h"

namespace tracciato {

// How the line phase ended.
struct LinePhaseEnd {
  // False after a code that ends memorizza_dati (every line code but 15): the
  // train description is then left unread and undiscarded.
  bool train_follows = false;
  // The item slot for the next indication sign; the train phase's stations
  // must stay below it.
  int32_t sign_slot = kFirstSignSlot;
};

// Reads the line description from `source` and discards it wherever the
// reading closes it (not when it is missing: code 101). Problems go to
// error_code / error_position / error_site. `reading` follows the key field of
// the record being read, so that a RuntimeFailure thrown out of here can be
// pinned to it. `listeners` hear the walk after the placement.
// REQUIRES: error_code is 0 and the item table was reset.
LinePhaseEnd read_line_description(ScenarioModel& model, DescriptionSource& source,
                                   ErrorSite& reading,
                                   std::span<ParseListener* const> listeners = {});

}  // namespace tracciato
