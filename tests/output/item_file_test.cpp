#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "output/byte_reader.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

TEST(ItemFile, ThirtyFourBytesPerEntryPlusTheNames) {
  ScenarioModel model;
  EXPECT_EQ(encode_item_file(model).size(), 2958u);
  model.item_table[kLineIdentity].name = "Tarvo_Belmira";
  model.item_table[kTrainIdentity].name = "7351";
  EXPECT_EQ(encode_item_file(model).size(), 2958u + 13 + 4);
}

TEST(ItemFile, RecordFieldsAtTheirOffsets) {
  ScenarioModel model;
  model.item_table[1].name = "Zeta";  // shifts every later record by four bytes
  model.item_table[2] = ItemRecord{.kind = 3,
                                   .num_1 = -1,
                                   .num_2 = 0x01020304,
                                   .num_3 = 39000,
                                   .flag = 0xAB,
                                   .name = "Citt\xE0",  // Windows-1252 à, one byte
                                   .small_1 = -2,
                                   .small_2 = 610,
                                   .small_3 = 12,
                                   .small_4 = 34,
                                   .small_5 = 56,
                                   .byte_1 = 1,
                                   .byte_2 = 2,
                                   .byte_3 = 0x80,
                                   .byte_4 = 0xFF,
                                   .num_4 = INT32_MIN};
  const std::string expected(
      "\x03"
      "\xFF\xFF\xFF\xFF"
      "\x04\x03\x02\x01"
      "\x58\x98\x00\x00"  // 39000
      "\xAB"
      "\x05\x00"
      "Citt\xE0"
      "\xFE\xFF"
      "\x62\x02"  // 610
      "\x0C\x00\x22\x00\x38\x00"
      "\x01\x02\x80\xFF"
      "\x00\x00\x00\x80",
      39);
  const std::string bytes = encode_item_file(model);
  const size_t offset = 34 + (34 + 4);
  EXPECT_EQ(bytes.substr(offset, 39), expected);
  EXPECT_EQ(bytes.substr(34 + 14, 6), std::string("\x04\x00Zeta", 6));
  EXPECT_EQ(bytes.size(), 2958u + 4 + 5);
}

TEST(ItemFile, ANameLongerThanItsLengthFieldIsRefused) {
  ScenarioModel model;
  model.item_table[kFirstSignSlot].name = std::string(65535, 's');
  const std::string bytes = encode_item_file(model);
  EXPECT_EQ(read_le(bytes, 80 * 34 + 14, 2), 65535u);
  EXPECT_EQ(bytes.size(), 2958u + 65535);

  model.item_table[kFirstSignSlot].name.push_back('s');
  EXPECT_THROW(encode_item_file(model), std::length_error);
}

}  // namespace
}  // namespace tracciato
