// Sealing the compiled scenario: two fixed markers and the two competition
// codes go into reserved slots of item 85 and route cell 1, which no
// description may have used.
#include <stdexcept>

#include "output/scenario_output.h"

namespace tracciato {
namespace {

// The fixed markers the simulator expects in the first pair of reserved slots.
constexpr int16_t kLineSeal = 610;   // small_1 of item 85
constexpr int16_t kCellSeal = 5121;  // value_1 of route cell 1

}  // namespace

SealResult seal_scenario(ScenarioModel& model) {
  // Cell 1 exists on every route (the model runs on 7000 m past the end), so
  // its absence means the caller skipped the no-route stop.
  if (model.route_cells.size() < 2) {
    throw std::logic_error("seal_scenario: the scenario has no route cell 1");
  }
  ItemRecord& line = model.item_table[kLineIdentity];
  RouteCell& first = model.route_cells[1];

  if (line.small_1 != 0 || first.value_1 != 0) return SealResult::kSlot1250InUse;
  line.small_1 = kLineSeal;
  first.value_1 = kCellSeal;

  if (line.num_4 != 0 || first.value_2 != 0) return SealResult::kSlot1251InUse;
  line.num_4 = codice_gara_st(model);
  first.value_2 = codice_gara_og(model);
  return SealResult::kSealed;
}

}  // namespace tracciato
