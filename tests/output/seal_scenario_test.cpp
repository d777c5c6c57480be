#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "output/scenario_output.h"

namespace tracciato {
namespace {

// The embedded scenario's identity on a 32000 m route, as the parsers leave it.
ScenarioModel compiled_route() {
  ScenarioModel model;
  model.item_table[kLineIdentity].name = "Tarvo_Belmira";
  model.item_table[kTrainIdentity].name = "7351";
  create_route(model, 32000);
  return model;
}

TEST(SealScenario, FillsTheReservedSlots) {
  ScenarioModel model = compiled_route();
  ASSERT_EQ(seal_scenario(model), SealResult::kSealed);
  const ItemRecord& line = model.item_table[kLineIdentity];
  EXPECT_EQ(line.small_1, 610);
  EXPECT_EQ(line.num_4, 32595);  // weighted code of "7351" + "Tarvo_Belmira"
  EXPECT_EQ(model.route_cells[1].value_1, 5121);
  EXPECT_EQ(model.route_cells[1].value_2, 2379);  // plain code
}

TEST(SealScenario, ASlotInUseStopsWithItsNumber) {
  const struct {
    const char* what;
    std::function<void(ScenarioModel&)> use;
    SealResult expected;
  } cases[] = {
      {"small_1 of item 85", [](ScenarioModel& m) { m.item_table[kLineIdentity].small_1 = 1; },
       SealResult::kSlot1250InUse},
      {"value_1 of cell 1 (a signal at 0 m)",
       [](ScenarioModel& m) { m.route_cells[1].value_1 = -3; }, SealResult::kSlot1250InUse},
      {"num_4 of item 85", [](ScenarioModel& m) { m.item_table[kLineIdentity].num_4 = 70000; },
       SealResult::kSlot1251InUse},
      {"value_2 of cell 1", [](ScenarioModel& m) { m.route_cells[1].value_2 = 7; },
       SealResult::kSlot1251InUse},
      {"both pairs: the 1250 check comes first",
       [](ScenarioModel& m) {
         m.route_cells[1].value_1 = 1;
         m.route_cells[1].value_2 = 1;
       },
       SealResult::kSlot1250InUse},
  };
  for (const auto& c : cases) {
    ScenarioModel model = compiled_route();
    c.use(model);
    ScenarioModel expected = model;
    if (c.expected == SealResult::kSlot1251InUse) {
      // The markers went in before the codes' slots were checked.
      expected.item_table[kLineIdentity].small_1 = 610;
      expected.route_cells[1].value_1 = 5121;
    }
    EXPECT_EQ(seal_scenario(model), c.expected) << c.what;
    EXPECT_EQ(model.item_table[kLineIdentity], expected.item_table[kLineIdentity]) << c.what;
    EXPECT_EQ(model.route_cells[1], expected.route_cells[1]) << c.what;
  }
}

TEST(SealScenario, AModelWithoutRouteIsRefused) {
  ScenarioModel model;
  EXPECT_THROW(seal_scenario(model), std::logic_error);
}

}  // namespace
}  // namespace tracciato
