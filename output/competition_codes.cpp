// The two competition codes: checksums over the first 25 characters of a key
// text made of the train number, the line name and a fixed filler.
#include <array>
#include <cstddef>
#include <string_view>

#include "output/scenario_output.h"

namespace tracciato {
namespace {

// The letters a to o without j and k, each twice: with it, the key text has
// at least 26 characters, so 25 positions exist even for empty names.
constexpr std::string_view kFiller = "aabbccddeeffgghhiillmmnnoo";
constexpr size_t kKeyPositions = 25;

// Lower case in Windows-1252, the code page of every name: the ASCII capitals,
// the accented capitals À to Þ (but not the multiplication sign ×, which sits
// among them), and the four capitals scattered over 0x80-0x9F.
constexpr uint8_t lower_1252(uint8_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
    return static_cast<uint8_t>(c + 0x20);
  }
  switch (c) {
    case 0x8A:  // Š
    case 0x8C:  // Œ
    case 0x8E:  // Ž
      return static_cast<uint8_t>(c + 0x10);
    case 0x9F:  // Ÿ
      return 0xFF;
    default:
      return c;
  }
}

// The character values of key text positions 1 to 25. The names are read from
// the item table, where the line parser copied them: item 86 holds the train
// number, item 85 the line name. Characters past position 25 never count.
std::array<uint8_t, kKeyPositions> key_values(const ScenarioModel& model) {
  std::array<uint8_t, kKeyPositions> key{};
  size_t filled = 0;
  for (std::string_view part : {std::string_view(model.item_table[kTrainIdentity].name),
                                std::string_view(model.item_table[kLineIdentity].name)}) {
    for (size_t i = 0; i < part.size() && filled < key.size(); ++i) {
      key[filled++] = lower_1252(static_cast<uint8_t>(part[i]));
    }
  }
  for (size_t i = 0; filled < key.size(); ++i) key[filled++] = static_cast<uint8_t>(kFiller[i]);
  return key;
}

}  // namespace

int16_t codice_gara_og(const ScenarioModel& model) {
  int32_t sum = 0;  // at most 25 x 255 = 6375
  for (const uint8_t value : key_values(model)) sum += value;
  return static_cast<int16_t>(sum);
}

int32_t codice_gara_st(const ScenarioModel& model) {
  int32_t sum = 0;  // at most 255 x (1 + 2 + ... + 25) = 82875
  int32_t position = 1;
  for (const uint8_t value : key_values(model)) sum += value * position++;
  return sum;
}

}  // namespace tracciato
