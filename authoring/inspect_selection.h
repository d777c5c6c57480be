// Which records an inspect report shows; shared by the table and the JSON.
#pragma once

#include <variant>

#include "authoring/inspect_report.h"

namespace tracciato {

inline bool in_range(const InspectOptions& options, size_t index) {
  if (!options.range) return true;
  const auto i = static_cast<int64_t>(index);
  return i >= options.range->first && i <= options.range->last;
}

inline bool shown(const InspectOptions& options, size_t index, const RouteCell& cell) {
  if (!in_range(options, index)) return false;
  if (!options.nonzero) return true;
  return cell.kind != 0 || cell.value_1 != 0 || cell.value_2 != 0 || cell.value_3 != 0 ||
         cell.value_4 != 0 || cell.signal_time != 0 || cell.approach_code != 0;
}

inline bool shown(const InspectOptions& options, size_t index, const ItemRecord& item) {
  return in_range(options, index) && (!options.nonzero || !(item == ItemRecord{}));
}

inline bool shown(const InspectOptions& options, size_t index, const TrackPoint& point) {
  if (!in_range(options, index)) return false;
  return !options.nonzero || !std::holds_alternative<std::monostate>(point[0]) ||
         !std::holds_alternative<std::monostate>(point[1]);
}

}  // namespace tracciato
