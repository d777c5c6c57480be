// The train's placements read back from the route cells and the item table,
// shared by the parts of the train's decompile (not part of its interface).
//
// Stations and signals both write approach codes into the cells before them,
// whatever those hold, so the one written last shows; each keeps the codes it
// writes, to find an order of the records in which every cell ends with the
// code it holds.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "authoring/decompile_context.h"

namespace tracciato {

struct ApproachWriter {
  DescriptionRecord record;
  std::vector<std::pair<int32_t, uint8_t>> codes;  // cell, approach code
};

struct TrainPlacements {
  std::vector<ApproachWriter> stations;  // in the order of their item entries
  // A station record the reading ends at: the compile stored (part of) it
  // and read no record after it. One beyond the route still lets the end
  // steps run (the profiles run on to the route's end); any other stops the
  // reading at once.
  std::optional<ApproachWriter> last_station;
  bool last_station_beyond_route = false;
  std::vector<ApproachWriter> signals;
  // A signal of which only the kind is stored: its packing failed, which
  // ended the reading.
  std::optional<DescriptionRecord> failed_signal;
  std::vector<DescriptionRecord> slowdowns;
  std::vector<DescriptionRecord> abbattimenti;
};

// Each reads its records into `out` and refuses what it cannot explain.
void read_stations(DecompileContext& ctx, TrainPlacements& out);
void read_signals(DecompileContext& ctx, TrainPlacements& out);
void read_slowdowns(DecompileContext& ctx, TrainPlacements& out);
// The abbattimento marks, once the marks the completion pass adds are set
// apart: REQUIRES the other placements read.
void read_abbattimenti(DecompileContext& ctx, TrainPlacements& out);

// The stations and signals in an order that leaves every approach code as
// stored: stations keep their relative order, and a cell's code is written
// last by a record that writes that code.
std::vector<const ApproachWriter*> approach_order(const TrainPlacements& placements,
                                                  const std::vector<RouteCell>& cells);

}  // namespace tracciato
