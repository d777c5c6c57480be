#include "authoring/record_meaning.h"

#include <cstdio>

namespace tracciato {
namespace {

constexpr int32_t kSpeedStep = 5;  // km/h per step of the packed speeds
constexpr int32_t kStationApproachBase = 80;
constexpr int kApproachCodes = 4;
constexpr int32_t kCellOneMarker = 5121;

std::string num(int32_t v) { return std::to_string(v); }

bool is_empty(const ItemRecord& item) { return item == ItemRecord{}; }

bool holds_name_only(const ItemRecord& item) {
  if (item.name.empty()) return false;
  ItemRecord numbers = item;
  numbers.name.clear();
  return is_empty(numbers);
}

// An indicator group's value: s speed x 20 + d speed / 5, that is the s speed
// in steps of 5 km/h in the hundreds and the d speed's steps in the units.
std::string indicator_speeds(int16_t v) {
  return num(v / 100 * kSpeedStep) + "/" + num(v % 100 * kSpeedStep);
}

std::string signal_meaning(const RouteCell& cell) {
  const SignalAspects a = unpack_signal(cell);
  std::string out = "s " + num(a.s[0]) + " " + num(a.s[1]) + " " + num(a.s[2]) + ", d " +
                    num(a.d[0]) + " " + num(a.d[1]) + " " + num(a.d[2]) + ", sx " + num(a.sx) +
                    ", dx " + num(a.dx) + ", rapp " + num(a.rapp);
  if (cell.signal_time != 0) out += ", time " + num(cell.signal_time);
  return out;
}

std::string object_meaning(const RouteCell& cell) {
  switch (cell.kind) {
    case kEmptyCell:
    case kSpanMarkerCell:
    case kAbbattimentoCell:
      return "";
    case kSignalCell:
      return signal_meaning(cell);
    case kSlowdownEndCell:
    case kSlowdownStartCell:
      return num(cell.value_1) + " km/h, d_v " + num(cell.value_2) + ", f_tt " + num(cell.value_3);
    case kSlowdownWarningCell:
      return num(cell.value_1) + " km/h, d_v " + num(cell.value_2);
    case kSlowdownApproachCell:
      return "mark " + num(cell.value_1);
    case kSpeedIndicatorCell:
      return "A " + indicator_speeds(cell.value_1) + ", B " + indicator_speeds(cell.value_2) +
             ", C " + indicator_speeds(cell.value_3) + " km/h, stripes " + num(cell.value_4 / 10) +
             "/" + num(cell.value_4 % 10);
    case kStationStopCell:
      return "station entry " + num(cell.value_1);
    case kAbbattimentoValueCell:
      return "value " + num(cell.value_1);
    case kIndicationSignCell:
      return "sign entry " + num(cell.value_1);
    default:
      return "values " + num(cell.value_1) + " " + num(cell.value_2) + " " + num(cell.value_3) +
             " " + num(cell.value_4);
  }
}

}  // namespace

std::string cell_kind_name(uint8_t kind) {
  switch (kind) {
    case kEmptyCell:
      return "";
    case kSignalCell:
      return "signal";
    case kSlowdownEndCell:
      return "slowdown end";
    case kSlowdownStartCell:
      return "slowdown start";
    case kSlowdownWarningCell:
      return "slowdown warning";
    case kSlowdownApproachCell:
      return "slowdown mark";
    case kSpeedIndicatorCell:
      return "speed indicators";
    case kStationStopCell:
      return "station stop";
    case kSpanMarkerCell:
      return "span marker";
    case kAbbattimentoValueCell:
      return "abbattimento";
    case kAbbattimentoCell:
      return "abbattimento, no value";
    case kIndicationSignCell:
      return "indication sign";
    default:
      return "kind " + num(kind);
  }
}

SignalAspects unpack_signal(const RouteCell& cell) {
  SignalAspects a{};
  const int16_t values[3] = {cell.value_1, cell.value_2, cell.value_3};
  for (int i = 0; i < 3; ++i) {
    a.s[i] = values[i] / 10;
    a.d[i] = values[i] % 10;
  }
  a.rapp = cell.value_4 / 10;
  const int32_t sides = cell.value_4 % 10;  // 3 x sx + dx
  a.sx = sides / 3;
  a.dx = sides % 3;
  return a;
}

std::string cell_meaning(const RouteCell& cell, size_t index) {
  std::string out = object_meaning(cell);
  if (index == 1 && cell.value_1 == kCellOneMarker) {
    // Cell 1 carries the scenario's marker and plain competition code.
    if (!out.empty()) out += "; ";
    out += "reserved " + num(cell.value_1) + ", plain competition code " + num(cell.value_2);
  }
  return out;
}

std::string approach_meaning(uint8_t code) {
  if (code == 0) return "";
  const int32_t k = code % 10;
  const int32_t sides = code / 10;  // 3 x sx + dx of the signal ahead
  if (k < 1 || k > kApproachCodes || sides > 8) return "approach code " + num(code);
  if (code > kStationApproachBase) {
    return "approach " + num(k) + " to a stop (or to a signal with sx 2, dx 2)";
  }
  return "approach " + num(k) + " to a signal with sx " + num(sides / 3) + ", dx " + num(sides % 3);
}

std::string_view item_role_name(ItemRole role) {
  switch (role) {
    case ItemRole::kUnused:
      return "unused";
    case ItemRole::kStation:
      return "station";
    case ItemRole::kFree:
      return "free";
    case ItemRole::kSign:
      return "sign";
    case ItemRole::kProgressive:
      return "progressive";
    case ItemRole::kGeneralData:
      return "general data";
    case ItemRole::kLine:
      return "line";
    case ItemRole::kTrain:
      return "train";
  }
  return "";
}

std::vector<ItemRole> item_roles(const std::vector<ItemRecord>& items) {
  std::vector<ItemRole> roles(items.size(), ItemRole::kFree);
  roles[0] = ItemRole::kUnused;
  for (int entry : {kProgressiveTre, kProgressiveDue, kProgressiveUno}) {
    roles[entry] = ItemRole::kProgressive;
  }
  roles[kGeneralData] = ItemRole::kGeneralData;
  roles[kLineIdentity] = ItemRole::kLine;
  roles[kTrainIdentity] = ItemRole::kTrain;
  int lowest_sign = kFirstSignSlot + 1;
  while (lowest_sign > 1 && holds_name_only(items[lowest_sign - 1])) {
    --lowest_sign;
    roles[lowest_sign] = ItemRole::kSign;
  }
  for (int entry = 1; entry < lowest_sign; ++entry) {
    if (!is_empty(items[entry])) roles[entry] = ItemRole::kStation;
  }
  return roles;
}

std::string time_of_day(int32_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

std::string item_meaning(const ItemRecord& item, ItemRole role) {
  if (is_empty(item)) return "";
  switch (role) {
    case ItemRole::kStation:
      return "kind " + num(item.kind) + " at " + num(item.num_3) + " m, span " + num(item.num_1) +
             ".." + num(item.num_2) + " m, " + time_of_day(item.num_4);
    case ItemRole::kProgressive:
      return "at " + num(item.num_1) + " m, kilometric " + num(item.num_2) + " m, flag " +
             num(item.num_3);
    case ItemRole::kGeneralData:
      return "line " + num(item.num_2) + " m, braked mass " + num(item.num_1) + " %, " +
             num(item.num_3) + " coaches";
    case ItemRole::kLine:
      return "backgrounds " + num(item.num_1) + " " + num(item.num_3) + " " + num(item.num_2) +
             " (uno due tre), reserved " + num(item.small_1) + ", weighted competition code " +
             num(item.num_4);
    case ItemRole::kTrain:
      return "signal repetition " + num(item.num_1) + " m / " + num(item.num_2) + " m, " +
             num(item.num_3) + " codes, sand " + num(item.small_1) + ", clock " +
             num(item.small_3) + ":" + num(item.small_4) + ":" + num(item.small_5);
    case ItemRole::kUnused:
    case ItemRole::kFree:
    case ItemRole::kSign:
      return "";
  }
  return "";
}

}  // namespace tracciato
