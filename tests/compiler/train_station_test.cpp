#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "train_fixture.h"

namespace tracciato {
namespace {

using test_support::route_model;
using test_support::run_train;

struct Station {
  int32_t p;
  int kind;
  int32_t length;
  int byte_3 = 0;
  int byte_4 = 0;
  std::string time = "0, 0, 0";
  std::string name = "STAZIONE";
};

// A station record: position, kind, length, flag 1, byte_4, byte_3,
// small_1 2, small_2 3, byte_1 4, small_3 5, small_4 6, small_5 7, byte_2 8,
// the time of day and the name.
std::string station(const Station& s) {
  return "stazione, " + std::to_string(s.p) + ", " + std::to_string(s.kind) + ", " +
         std::to_string(s.length) + ", 1, " + std::to_string(s.byte_4) + ", " +
         std::to_string(s.byte_3) + ", 2, 3, 4, 5, 6, 7, 8, " + s.time + ", " + s.name;
}

std::string text_of(const std::vector<std::string>& lines) {
  std::string text = "[generale]\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// A junction at 0 takes entry 1, so the station under test is entry 2 and
// keeps its byte_3 and byte_4.
const Station kJunctionAtZero{0, 25, 0};

TEST(Stations, SpansApproachCodesAndStopMarks) {
  const struct {
    Station station;
    int32_t num_1, num_2;
    int byte_3, byte_4;
    int stop_cell;  // -1: none
    bool approach;  // codes 81..84 in the four cells before the stop mark
  } cases[] = {
      {{13200, 12, 500}, 12950, 13450, 0, 0, 268, true},
      {{9000, 22, 600, 1}, 8700, 9350, 1, 0, 186, true},
      {{5000, 5, 1000, 1}, 4000, 5150, 0, 0, 102, false},
      {{5000, 6, 0}, 5000, 5150, 0, 0, 102, false},
      {{5000, 7, 300, 1}, 4700, 5300, 0, 0, 105, true},
      {{5000, 8, 300}, 4700, 5300, 0, 0, 105, true},
      {{5000, 25, 200, 1}, 4900, 5150, 1, 0, -1, false},
      {{5000, 12, 0}, 5000, 5000, 0, 0, 99, true},
      {{5000, 12, 500, 0, 3}, 4750, 5250, 0, 0, 104, true},
      {{5000, 12, 600, 0, 3}, 4700, 5300, 0, 3, 105, true},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    const auto run = run_train(model, text_of({station(kJunctionAtZero), station(c.station)}));
    SCOPED_TRACE(station(c.station));
    EXPECT_FALSE(run.failed);
    EXPECT_EQ(model.error_code, 0);
    const ItemRecord& entry = model.item_table[2];
    EXPECT_EQ(entry.num_3, c.station.p);
    EXPECT_EQ(entry.kind, c.station.kind);
    EXPECT_EQ(entry.num_1, c.num_1);
    EXPECT_EQ(entry.num_2, c.num_2);
    EXPECT_EQ(entry.byte_3, c.byte_3);
    EXPECT_EQ(entry.byte_4, c.byte_4);
    std::vector<int> stops;
    std::vector<int> codes;
    for (int i = 0; i < static_cast<int>(model.route_cells.size()); ++i) {
      if (model.route_cells[i].kind == kStationStopCell) stops.push_back(i);
      if (model.route_cells[i].approach_code != 0) codes.push_back(i);
    }
    EXPECT_EQ(stops, c.stop_cell < 0 ? std::vector<int>{} : std::vector<int>{c.stop_cell});
    if (c.stop_cell >= 0) {
      EXPECT_EQ(model.route_cells[c.stop_cell].value_1, 2);
    }
    if (c.approach) {
      EXPECT_EQ(codes, (std::vector<int>{c.stop_cell - 4, c.stop_cell - 3, c.stop_cell - 2,
                                         c.stop_cell - 1}));
      for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(model.route_cells[c.stop_cell - k].approach_code, 80 + k);
    } else {
      EXPECT_TRUE(codes.empty());
    }
  }
}

TEST(Stations, FieldsAreStoredAsReadAndTheTimeOfDayComputed) {
  ScenarioModel model = route_model();
  run_train(model, text_of({station({0, 12, 700, 1, 3, "13, 16, 0", "SAN LORIANO di TARVO"})}));
  const ItemRecord& entry = model.item_table[1];
  EXPECT_EQ(entry.flag, 1);
  EXPECT_EQ(entry.small_1, 2);
  EXPECT_EQ(entry.small_2, 3);
  EXPECT_EQ(entry.byte_1, 4);
  EXPECT_EQ(entry.small_3, 5);
  EXPECT_EQ(entry.small_4, 6);
  EXPECT_EQ(entry.small_5, 7);
  EXPECT_EQ(entry.byte_2, 8);
  EXPECT_EQ(entry.num_4, 47760);
  EXPECT_EQ(entry.name, "SAN LORIANO di TARVO");
  // The first station loses byte_3 and byte_4, but its byte_3 as read still
  // lengthens its span by 50 m.
  EXPECT_EQ(entry.num_1, -350);
  EXPECT_EQ(entry.num_2, 400);
  EXPECT_EQ(entry.byte_3, 0);
  EXPECT_EQ(entry.byte_4, 0);
}

TEST(Stations, Refusals) {
  const struct {
    const char* what;
    std::vector<std::string> lines;
    int32_t sign_slot;
    int32_t code, position;
  } cases[] = {
      {"position not on a cell boundary", {station({5025, 12, 500})}, 80, 8, 5025},
      {"length not whole hundreds", {station({5000, 12, 250})}, 80, 9, 5000},
      {"stop mark too near the origin", {station({0, 12, 0})}, 80, 24, 77},
      {"a short station too near the origin", {station({-100, 5, 0})}, 80, 24, 77},
      {"spans closer than 350 m",
       {station({5000, 12, 500}), station({5550, 12, 500})},
       80,
       22,
       5550},
      {"stations meet the signs", {station({5000, 12, 500}), station({7000, 12, 500})}, 3, 10, 77},
      {"the first entry already holds a sign", {station({5000, 12, 500})}, 0, 10, 77},
      {"stop mark beyond the route", {station({38200, 12, 2000})}, 80, 26, 38200},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    model.error_position = 77;
    const auto run = run_train(model, text_of(c.lines), c.sign_slot);
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(run.failed);
    EXPECT_TRUE(run.discarded);
    EXPECT_EQ(model.error_code, c.code);
    EXPECT_EQ(model.error_position, c.position);
  }
}

TEST(Stations, WhatARefusalLeaves) {
  ScenarioModel spaced = route_model();
  run_train(spaced, text_of({station({5000, 12, 500}), station({5850, 12, 500})}));
  EXPECT_EQ(spaced.error_code, 0);  // exactly 350 m apart

  ScenarioModel signs = route_model();
  run_train(signs, text_of({station({5000, 12, 500})}), 0);
  EXPECT_EQ(signs.item_table[1], ItemRecord{});

  ScenarioModel near = route_model();
  run_train(near, text_of({station({5000, 12, 500}), station({7000, 12, 500})}), 3);
  EXPECT_EQ(near.item_table[2].num_3, 7000);
  EXPECT_EQ(near.route_cells[144].kind, kStationStopCell);

  ScenarioModel beyond = route_model();
  run_train(beyond, text_of({station({38200, 12, 2000})}));
  for (const RouteCell& cell : beyond.route_cells) EXPECT_EQ(cell.approach_code, 0);

  ScenarioModel junction = route_model();
  run_train(junction, text_of({station({38200, 25, 2000})}));
  EXPECT_EQ(junction.error_code, 0);
}

TEST(Stations, SeventyNineStationsWithoutSignsReachTheSignSlot) {
  std::vector<std::string> lines;
  for (int i = 0; i < 79; ++i) lines.push_back(station({1000 + 400 * i, 25, 0}));
  ScenarioModel model = route_model();
  run_train(model, text_of(lines));
  EXPECT_EQ(model.error_code, 10);
  EXPECT_EQ(model.item_table[78].num_3, 1000 + 400 * 77);
  EXPECT_EQ(model.item_table[79].num_3, 1000 + 400 * 78);
}

TEST(Stations, NarrowFieldsAndOverflowAreRuntimeFailures) {
  const struct {
    const char* what;
    std::string line;
    const char* name = "";  // the name is read before the span is computed
  } cases[] = {
      {"kind above 255", "stazione, 5000, 300, 500"},
      {"flag below 0", "stazione, 5000, 12, 500, -1"},
      {"small_1 above 16 bits", "stazione, 5000, 12, 500, 1, 0, 0, 40000"},
      {"time of day overflows",
       "stazione, 5000, 12, 500, 1,0,0, 2,3,4, 5,6,7, 8, 40000000, 0, 0, X"},
      {"minutes overflow on their own",
       "stazione, 5000, 12, 500, 1,0,0, 2,3,4, 5,6,7, 8, 0, 2147483647, 0, X"},
      {"span start overflows", "stazione, -100, 7, 2147483600, 1,0,0, 2,3,4, 5,6,7, 8, 0,0,0, X",
       "X"},
      {"name longer than an item can store",
       "stazione, 5000, 12, 500, 1,0,0, 2,3,4, 5,6,7, 8, 0,0,0, " + std::string(65536, 'A'), ""},
  };
  for (const auto& c : cases) {
    ScenarioModel model = route_model();
    const auto run = run_train(model, text_of({c.line}));
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(run.failed);
    EXPECT_FALSE(run.discarded);
    EXPECT_EQ(model.item_table[1].num_3, std::stoi(c.line.substr(10)));  // stored as read
    EXPECT_EQ(model.item_table[1].name, c.name);
  }
  ScenarioModel model = route_model();
  run_train(model, text_of({"stazione, 5000, 12, 500, 7, 0, 0, 40000"}));
  EXPECT_EQ(model.item_table[1].kind, 12);
  EXPECT_EQ(model.item_table[1].flag, 7);
}

}  // namespace
}  // namespace tracciato
