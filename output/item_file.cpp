// The item file: the 87 item records, entries 0 to 86, each 34 bytes plus its
// name.
#include <cstddef>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

#include "output/byte_encoding.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

constexpr size_t kItemRecordFixedSize = 34;
// The name's length is stored in 16 bits; a longer name cannot be told to the
// simulator, and cutting it would silently change the scenario.
constexpr size_t kMaxNameLength = std::numeric_limits<uint16_t>::max();

char* put_item(char* p, const ItemRecord& item) {
  p = put_u8(p, item.kind);
  p = put_i32le(p, item.num_1);
  p = put_i32le(p, item.num_2);
  p = put_i32le(p, item.num_3);
  p = put_u8(p, item.flag);
  p = put_u16le(p, static_cast<uint16_t>(item.name.size()));
  std::memcpy(p, item.name.data(), item.name.size());  // Windows-1252 bytes as held
  p += item.name.size();
  p = put_i16le(p, item.small_1);
  p = put_i16le(p, item.small_2);
  p = put_i16le(p, item.small_3);
  p = put_i16le(p, item.small_4);
  p = put_i16le(p, item.small_5);
  p = put_u8(p, item.byte_1);
  p = put_u8(p, item.byte_2);
  p = put_u8(p, item.byte_3);
  p = put_u8(p, item.byte_4);
  return put_i32le(p, item.num_4);
}

}  // namespace

std::string encode_item_file(const ScenarioModel& model) {
  size_t size = 0;
  for (size_t entry = 0; entry < model.item_table.size(); ++entry) {
    const size_t length = model.item_table[entry].name.size();
    if (length > kMaxNameLength) {
      throw std::length_error("item " + std::to_string(entry) + ": a name of " +
                              std::to_string(length) +
                              " characters does not fit the item file (at most 65535)");
    }
    size += kItemRecordFixedSize + length;
  }
  std::string bytes(size, '\0');
  char* p = bytes.data();
  for (const ItemRecord& item : model.item_table) p = put_item(p, item);
  if (p != bytes.data() + bytes.size()) throw std::logic_error("item record size mismatch");
  return bytes;
}

}  // namespace tracciato
