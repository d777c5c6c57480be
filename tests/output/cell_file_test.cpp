#include <gtest/gtest.h>

#include <string>

#include "output/scenario_output.h"

namespace tracciato {
namespace {

TEST(CellFile, OneFifteenByteRecordPerCell) {
  ScenarioModel model;
  create_route(model, 32000);  // cells 0 to 780
  EXPECT_EQ(encode_cell_file(model).size(), 11715u);
}

TEST(CellFile, RecordFieldsAtTheirOffsets) {
  ScenarioModel model;
  create_route(model, 0);
  model.route_cells[2] = RouteCell{.kind = kSignalCell,
                                   .value_1 = -2,
                                   .value_2 = 5121,
                                   .value_3 = 0x7FFF,
                                   .value_4 = INT16_MIN,
                                   .signal_time = 0xF1,
                                   .approach_code = 0x12,
                                   .span_kind = 0x13,
                                   .speed_limit = 0x14,
                                   .gradient = 0x95,
                                   .adhesion = 0xFF};
  const std::string expected(
      "\x01"
      "\xFE\xFF"  // -2, two's complement, low byte first
      "\x01\x14"  // 5121
      "\xFF\x7F"
      "\x00\x80"
      "\xF1\x12\x13\x14\x95\xFF",
      15);
  const std::string bytes = encode_cell_file(model);
  EXPECT_EQ(bytes.substr(2 * 15, 15), expected);
  EXPECT_EQ(bytes.substr(15, 15), std::string(15, '\0'));  // untouched neighbours stay zero
  EXPECT_EQ(bytes.substr(3 * 15, 15), std::string(15, '\0'));
}

}  // namespace
}  // namespace tracciato
