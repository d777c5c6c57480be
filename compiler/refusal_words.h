// The words of a refused record: for a cell it needs that is occupied, which
// cell, what occupies it, and a note at the record that placed that; for a
// position beyond the route, where the route ends.
//
// The codes stay as the placement set them; only error_detail and
// error_notes, which people read, are filled here.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "compiler/scenario_model.h"

namespace tracciato {

// "cell 136 (6750 to 6800 m)": the cell and the stretch of route it covers.
std::string cell_and_metres(int32_t cell);

// What the object in `cell` is, as a sentence names it: "a signal", "the
// warning board of a slowdown", "the indication sign `(CAVALCAVIA)`".
std::string occupant(const ScenarioModel& model, int32_t cell);

// "<whose> cell <n> (<metres>) is already occupied by <occupant>", and a note
// at the record that placed the occupant when it is known. `whose` names the
// refused record's object: "the signal's".
// REQUIRES: cell lies inside the route.
void explain_occupied_cell(ScenarioModel& model, std::string_view whose, int32_t cell);

// Code 20: where the warning board of the slowdown starting at x stands, the
// four cells its numbered marks need, and the first of them in the way.
// REQUIRES: the slowdown's placement recorded code 20.
void explain_numbered_marks(ScenarioModel& model, int32_t x);

// The completion pass's codes 11 to 13: `situation` says what needed a
// mark, and each of `cells` is then named with what occupies it, with a note
// at the record that placed it when one did; cells beyond the route are
// left out.
void explain_blocked_cells(ScenarioModel& model, std::string situation,
                           std::initializer_list<int32_t> cells);

// Code 15: "47800 m lies beyond the route: ..." with the last position a
// record needing `margin` metres of route after it may have.
void explain_beyond_route(ScenarioModel& model, int32_t position, int32_t margin);

}  // namespace tracciato
