#include "compiler/cell_origins.h"

#include "compiler/scenario_model.h"

namespace tracciato {

void CellOrigins::placed(int32_t cell, size_t cells) {
  if (cell < 0 || static_cast<size_t>(cell) >= cells) return;
  ++placements_;
  // Sized on the first placement, so a route nobody places on costs nothing.
  if (cells_.size() != cells) cells_.resize(cells);
  cells_[static_cast<size_t>(cell)] = current_;
}

const CellOrigin* CellOrigins::origin(int32_t cell) const {
  if (cell < 0 || static_cast<size_t>(cell) >= cells_.size()) return nullptr;
  const CellOrigin& found = cells_[static_cast<size_t>(cell)];
  return found.description == Description::kNone ? nullptr : &found;
}

}  // namespace tracciato
