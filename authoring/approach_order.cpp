// The order of the stations and signals that leaves every approach code as
// stored: each writes its codes whatever the cells hold, so a cell shows the
// code of the one written last.
#include <map>
#include <set>

#include "authoring/decompile_train.h"

namespace tracciato {

std::vector<const ApproachWriter*> approach_order(const TrainPlacements& placements,
                                                  const std::vector<RouteCell>& cells) {
  // The writers in their usual order: stations first, in entry order, then
  // signals along the route.
  std::vector<const ApproachWriter*> writers;
  for (const ApproachWriter& w : placements.stations) writers.push_back(&w);
  const size_t station_count = writers.size();
  for (const ApproachWriter& w : placements.signals) writers.push_back(&w);
  const size_t n = writers.size();
  // after[a] holds the writers that must come after a.
  std::vector<std::set<size_t>> after(n);
  for (size_t i = 1; i < station_count; ++i) after[i - 1].insert(i);
  std::map<int32_t, std::vector<std::pair<size_t, uint8_t>>> by_cell;
  for (size_t w = 0; w < n; ++w) {
    for (const auto& [cell, code] : writers[w]->codes) by_cell[cell].emplace_back(w, code);
  }
  for (const auto& [cell, list] : by_cell) {
    const uint8_t stored = cells[static_cast<size_t>(cell)].approach_code;
    // The last writer in the usual order that writes the stored code goes
    // after every writer of another code.
    size_t chosen = n;
    for (const auto& [w, code] : list) {
      if (code == stored) chosen = w;
    }
    if (chosen == n) continue;  // no order gives it; the proof names the cell
    for (const auto& [w, code] : list) {
      if (code != stored) after[w].insert(chosen);
    }
  }
  // Kahn's order, taking the earliest ready writer in the usual order.
  std::vector<size_t> waiting(n, 0);
  for (size_t a = 0; a < n; ++a) {
    for (const size_t b : after[a]) ++waiting[b];
  }
  std::set<size_t> ready;
  for (size_t w = 0; w < n; ++w) {
    if (waiting[w] == 0) ready.insert(w);
  }
  std::vector<const ApproachWriter*> order;
  while (!ready.empty()) {
    const size_t w = *ready.begin();
    ready.erase(ready.begin());
    order.push_back(writers[w]);
    for (const size_t b : after[w]) {
      if (--waiting[b] == 0) ready.insert(b);
    }
  }
  // Codes no order satisfies: the usual order, and the proof names them.
  if (order.size() != n) return writers;
  return order;
}

}  // namespace tracciato
