// What the numbers of the scenario files mean to a person: the name of a
// cell's kind, its values unpacked (a signal's aspect numbers, an indicator
// group's speeds), the role of each item entry. Used by the inspect tables
// and the route plot; the files themselves carry only the numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/scenario_model.h"

namespace tracciato {

// "signal", "slowdown start", …; "kind N" for a kind the compiler never
// writes; "" for an empty cell.
std::string cell_kind_name(uint8_t kind);

// The cell's object with its values unpacked, e.g. for a signal
// "s 5 6 0, d 3 1 0, sx 1, dx 1, rapp 0". Cell 1 also names its reserved
// values. "" when the cell holds nothing.
std::string cell_meaning(const RouteCell& cell, size_t index);

// "" for 0; otherwise what the code in a cell before a signal or a station
// announces.
std::string approach_meaning(uint8_t code);

// The decimal packing of a signal cell.
struct SignalAspects {
  int32_t s[3];
  int32_t d[3];
  int32_t sx;
  int32_t dx;
  int32_t rapp;
};
SignalAspects unpack_signal(const RouteCell& cell);

enum class ItemRole {
  kUnused,       // entry 0
  kStation,      // 1 upward
  kFree,         // between the stations and the signs
  kSign,         // 80 downward
  kProgressive,  // 81 to 83
  kGeneralData,  // 84
  kLine,         // 85
  kTrain,        // 86
};

std::string_view item_role_name(ItemRole role);

// The role of every entry of an item table (87 entries). Signs are the
// entries from 80 downward that hold a name and nothing else; the other
// filled entries of 1 to 80 are stations.
// REQUIRES: items.size() == kItemCount.
std::vector<ItemRole> item_roles(const std::vector<ItemRecord>& items);

// The entry's numbers as its role reads them, e.g. "kind 12 at 13200 m,
// span 12950..13450 m, 13:16:00". "" for an empty entry.
std::string item_meaning(const ItemRecord& item, ItemRole role);

// "13:16:00" for 47760 seconds.
std::string time_of_day(int32_t seconds);

}  // namespace tracciato
