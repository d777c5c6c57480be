// The item file: the 87 item records, each 34 bytes plus its name.
#include "authoring/byte_decoding.h"
#include "authoring/scenario_decoding.h"

namespace tracciato {
namespace {

ItemRecord read_item(ByteReader& in) {
  ItemRecord item;
  item.kind = in.u8("kind");
  item.num_1 = in.i32le("num_1");
  item.num_2 = in.i32le("num_2");
  item.num_3 = in.i32le("num_3");
  item.flag = in.u8("flag");
  const uint16_t length = in.u16le("the name's length");
  item.name = std::string(in.bytes(length, "the name"));
  item.small_1 = in.i16le("small_1");
  item.small_2 = in.i16le("small_2");
  item.small_3 = in.i16le("small_3");
  item.small_4 = in.i16le("small_4");
  item.small_5 = in.i16le("small_5");
  item.byte_1 = in.u8("byte_1");
  item.byte_2 = in.u8("byte_2");
  item.byte_3 = in.u8("byte_3");
  item.byte_4 = in.u8("byte_4");
  item.num_4 = in.i32le("num_4");
  return item;
}

}  // namespace

std::vector<ItemRecord> decode_item_file(std::string_view bytes) {
  if (bytes.size() < kItemCount * kItemRecordFixedSize) {
    throw DecodeError(std::to_string(bytes.size()) + " bytes are fewer than the " +
                      std::to_string(kItemCount * kItemRecordFixedSize) +
                      " that 87 item records with empty names take");
  }
  ByteReader in(bytes);
  std::vector<ItemRecord> items;
  items.reserve(kItemCount);
  for (int entry = 0; entry < kItemCount; ++entry) {
    try {
      items.push_back(read_item(in));
    } catch (const DecodeError& e) {
      throw DecodeError("item " + std::to_string(entry) + ": " + e.what());
    }
  }
  if (!in.at_end()) {
    throw DecodeError(std::to_string(in.left()) +
                      " bytes follow the 87th item record (it ends at byte " +
                      std::to_string(in.offset()) + ")");
  }
  return items;
}

}  // namespace tracciato
