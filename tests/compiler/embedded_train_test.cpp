// The embedded train description, read on the embedded line's route.
#include <gtest/gtest.h>

#include <vector>

#include "compiler/compile.h"
#include "documents/document.h"
#include "train_fixture.h"

namespace tracciato {
namespace {

class EmbeddedTrain : public ::testing::Test {
 protected:
  void SetUp() override {
    model_ = test_support::route_model(32000);
    run_ = test_support::run_train(model_, render_document(train_description_document()));
  }

  ScenarioModel model_;
  test_support::TrainRun run_;
};

TEST_F(EmbeddedTrain, ReadsWithoutProblemsAndDiscardsTheText) {
  EXPECT_FALSE(run_.failed);
  EXPECT_TRUE(run_.discarded);
  EXPECT_EQ(model_.error_code, 0);
  EXPECT_EQ(model_.item_table[kGeneralData].num_1, 120);
  EXPECT_EQ(model_.item_table[kGeneralData].num_3, 3);
  const ItemRecord& train = model_.item_table[kTrainIdentity];
  EXPECT_EQ(train.small_1, 300);
  EXPECT_EQ(train.small_3, 13);
  EXPECT_EQ(train.small_4, 4);
  EXPECT_EQ(train.small_5, 30);
}

TEST_F(EmbeddedTrain, SpeedLimitAndAdhesionRanges) {
  const struct {
    int first, last, speed_limit;
  } ranges[] = {{0, 37, 15},    {38, 58, 27},   {59, 68, 12},   {69, 486, 27},
                {487, 503, 15}, {504, 518, 21}, {519, 777, 29}, {778, 780, 0}};
  for (const auto& r : ranges) {
    for (int c = r.first; c <= r.last; ++c) {
      ASSERT_EQ(model_.route_cells[c].speed_limit, r.speed_limit) << "cell " << c;
      ASSERT_EQ(model_.route_cells[c].adhesion, c <= 777 ? 100 : 0) << "cell " << c;
    }
  }
}

TEST_F(EmbeddedTrain, SixStations) {
  const struct {
    const char* name;
    uint8_t kind;
    int32_t position, num_1, num_2, num_4;
    int stop_cell;  // -1: none
  } stations[] = {
      {"TARVO", 12, 0, -350, 350, 47100, 6},
      {"BIVIO CASCINA DELL' ERBA", 25, 3300, 3200, 3400, 0, -1},
      {"SAN LORIANO di TARVO", 22, 9000, 8700, 9350, 0, 186},
      {"LAVRETTO", 12, 13200, 12950, 13450, 47760, 268},
      {"VALLORENE", 12, 18450, 18200, 18750, 0, 374},
      {"BELMIRA", 12, 25200, 24900, 25500, 48420, 509},
  };
  std::vector<int> stop_cells;
  for (int c = 0; c <= model_.last_cell; ++c) {
    if (model_.route_cells[c].kind == kStationStopCell) stop_cells.push_back(c);
  }
  std::vector<int> expected_stops;
  for (int s = 1; s <= 6; ++s) {
    const auto& want = stations[s - 1];
    const ItemRecord& entry = model_.item_table[s];
    SCOPED_TRACE(want.name);
    EXPECT_EQ(entry.name, want.name);
    EXPECT_EQ(entry.kind, want.kind);
    EXPECT_EQ(entry.num_3, want.position);
    EXPECT_EQ(entry.num_1, want.num_1);
    EXPECT_EQ(entry.num_2, want.num_2);
    EXPECT_EQ(entry.num_4, want.num_4);
    if (want.stop_cell >= 0) {
      expected_stops.push_back(want.stop_cell);
      EXPECT_EQ(model_.route_cells[want.stop_cell].value_1, s);
      for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(model_.route_cells[want.stop_cell - k].approach_code, 80 + k);
    }
  }
  EXPECT_EQ(stop_cells, expected_stops);
  EXPECT_EQ(model_.item_table[1].byte_3, 0);
  EXPECT_EQ(model_.item_table[1].byte_4, 0);
  EXPECT_EQ(model_.item_table[3].byte_3, 1);
  EXPECT_EQ(model_.item_table[7], ItemRecord{});
}

TEST_F(EmbeddedTrain, Signals) {
  const struct {
    int cell;
    int16_t v1, v2, v3, v4;
    uint8_t signal_time;
    uint8_t first_approach_code;  // in cell - 2; then + 1 every 2 cells back
  } signals[] = {
      {38, 53, 61, 0, 4, 0, 41},
      {480, 20, 30, 0, 6, 190, 61},
  };
  for (const auto& s : signals) {
    const RouteCell& cell = model_.route_cells[s.cell];
    SCOPED_TRACE(s.cell);
    EXPECT_EQ(cell.kind, kSignalCell);
    EXPECT_EQ(cell.value_1, s.v1);
    EXPECT_EQ(cell.value_2, s.v2);
    EXPECT_EQ(cell.value_3, s.v3);
    EXPECT_EQ(cell.value_4, s.v4);
    EXPECT_EQ(cell.signal_time, s.signal_time);
    for (int k = 1; k <= 4; ++k) {
      EXPECT_EQ(model_.route_cells[s.cell - 2 * k].approach_code, s.first_approach_code + k - 1);
    }
  }
  int signal_cells = 0;
  for (const RouteCell& cell : model_.route_cells) signal_cells += cell.kind == kSignalCell;
  EXPECT_EQ(signal_cells, 12);
}

TEST_F(EmbeddedTrain, WithoutSlowdownsTheCompletionPassChangesNothing) {
  const std::vector<RouteCell> before = model_.route_cells;
  complete_signalling(model_);
  EXPECT_EQ(model_.route_cells, before);
  EXPECT_EQ(model_.error_code, 0);
}

}  // namespace
}  // namespace tracciato
