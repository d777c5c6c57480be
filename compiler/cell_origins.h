// Which record put the object that occupies a route cell, and where that
// record stands in its description, so that a record refused for an occupied
// cell can name what is in the way and point at it.
//
// For people only: nothing of it reaches the scenario files. It grows with
// the route, never with the descriptions: one entry per cell at most.
#pragma once

#include <cstdint>
#include <vector>

#include "compiler/field_reader.h"

namespace tracciato {

enum class Description : uint8_t;

struct CellOrigin {
  Description description{};  // kNone: no record known
  FieldSite site;             // the record's key field
  int32_t position = 0;       // the record's first value, metres
};

class CellOrigins {
 public:
  // The record whose values and placement follow.
  void begin_record(Description description, FieldSite key_site) {
    current_ = {description, key_site, 0};
  }
  void record_position(int32_t position) { current_.position = position; }

  // Cell `cell` (of a route of `cells` cells) now holds an object of the
  // record at hand.
  void placed(int32_t cell, size_t cells);

  // The record that placed the object now in `cell`; nullptr when none did.
  const CellOrigin* origin(int32_t cell) const;

  // A new route: no cell holds anything yet.
  void clear() { cells_.clear(); }

  // How many placements there were so far, so that a listener of the walk
  // can tell whether the record it heard placed anything.
  uint64_t placements() const { return placements_; }

 private:
  CellOrigin current_;
  std::vector<CellOrigin> cells_;
  uint64_t placements_ = 0;
};

}  // namespace tracciato
