// The way back from a profile along the route (the gradient, the speed limit,
// the adhesion) to the records that write it.
//
// The compile writes all three alike: a record whose cell is n fills the
// cells from the fill position up to n - 1 with the value in force (at least
// one cell once n > 0, never the last cell), and its own value takes over;
// when the description ends, the value in force runs on to the third-last
// cell (again at least one cell). A cell is written once, in order, and a
// cell never written keeps 0.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tracciato {

// A record of a profile: from the cell `cell` (at cell x 50 m) on, `value`.
struct ProfileChange {
  int32_t cell = 0;
  uint8_t value = 0;
};

// The records, in order, that make the compile leave `target` (cells 0 to
// last_cell) when `initial` is the value in force before the first record;
// `with_tail` when the description was read to its end. Each record lies at
// most at cell last_cell - 2, as a record's position must leave 100 m of
// route. The first record, at cell 0, sets the starting value. nullopt when
// no records give the target: a cell the fill cannot reach.
std::optional<std::vector<ProfileChange>> profile_steps(std::span<const uint8_t> target,
                                                        uint8_t initial, bool with_tail);

}  // namespace tracciato
