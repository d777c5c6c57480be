#include "compiler/refusal_words.h"

#include "compiler/signal_placement.h"

namespace tracciato {
namespace {

std::string metres(int64_t m) { return std::to_string(m) + " m"; }

// Cell n covers the 50 m from (n - 1) x 50 m.
int64_t cell_start(int32_t cell) { return (int64_t{cell} - 1) * kCellLength; }

// The text of an item the cell refers to (a sign's text, a station's name).
std::string item_text(const ScenarioModel& model, int16_t slot) {
  if (slot < 0 || slot >= kItemCount) return "";
  return model.item_table[static_cast<size_t>(slot)].name;
}

// What the record that placed the occupant was, and where it stands.
void note_origin(ScenarioModel& model, int32_t cell, const std::string& what) {
  const CellOrigin* origin = model.cell_origins.origin(cell);
  if (origin == nullptr) return;
  model.error_notes.push_back(
      {{origin->description, origin->site.line, origin->site.column},
       what + " was placed by this record, at " + metres(origin->position)});
}

}  // namespace

std::string cell_and_metres(int32_t cell) {
  return "cell " + std::to_string(cell) + " (" + std::to_string(cell_start(cell)) + " to " +
         metres(cell_start(cell) + kCellLength) + ")";
}

std::string occupant(const ScenarioModel& model, int32_t cell) {
  const RouteCell& c = model.route_cells[static_cast<size_t>(cell)];
  switch (c.kind) {
    case kSignalCell:
      return "a signal";
    case kSlowdownEndCell:
      return "the end of a slowdown";
    case kSlowdownStartCell:
      return "the start of a slowdown";
    case kSlowdownWarningCell:
      return "the warning board of a slowdown";
    case kSlowdownApproachCell:
      return "numbered mark " + std::to_string(c.value_1) + " of a slowdown's warning board";
    case kSpeedIndicatorCell:
      return "a maximum-speed indicator group";
    case kStationStopCell:
      return "the stop mark of the station `" + item_text(model, c.value_1) + "`";
    case kAbbattimentoValueCell:
      return "an abbattimento mark of value " + std::to_string(c.value_1);
    case kAbbattimentoCell:
      return "an abbattimento mark";
    case kIndicationSignCell:
      return "the indication sign `" + item_text(model, c.value_1) + "`";
    default:
      return "an object of kind " + std::to_string(c.kind);
  }
}

void explain_occupied_cell(ScenarioModel& model, std::string_view whose, int32_t cell) {
  const std::string what = occupant(model, cell);
  model.error_detail =
      std::string(whose) + " " + cell_and_metres(cell) + " is already occupied by " + what;
  model.error_notes.clear();
  note_origin(model, cell, what);
}

void explain_numbered_marks(ScenarioModel& model, int32_t x) {
  const int32_t board = warning_board_cell(x);
  const int32_t m = first_numbered_mark_cell(x);
  model.error_notes.clear();
  for (int32_t i = 0; i < kNumberedMarks; ++i) {
    const int32_t c = m - i;
    if (is_free(model.route_cells[static_cast<size_t>(c)])) continue;
    const std::string what = occupant(model, c);
    model.error_detail = "the warning board stands 1200 m before the slowdown, at " +
                         metres(int64_t{x} - kWarningDistance) + " in " + cell_and_metres(board) +
                         "; its four numbered marks need cells " + std::to_string(m) + ", " +
                         std::to_string(m - 1) + ", " + std::to_string(m - 2) + " and " +
                         std::to_string(m - 3) + " (" + std::to_string(cell_start(m - 3)) + " to " +
                         metres(cell_start(m) + kCellLength) + "), but cell " + std::to_string(c) +
                         " is already occupied by " + what;
    note_origin(model, c, what);
    return;
  }
}

void explain_blocked_cells(ScenarioModel& model, std::string situation,
                           std::initializer_list<int32_t> cells) {
  model.error_notes.clear();
  std::string held;
  for (const int32_t c : cells) {
    // A walk may end at the route's last cell, with a neighbour beyond it.
    if (c < 0 || static_cast<size_t>(c) >= model.route_cells.size()) continue;
    const std::string what = occupant(model, c);
    held += (held.empty() ? "" : ", ") + cell_and_metres(c) + " holds " + what;
    note_origin(model, c, what);
  }
  model.error_detail = std::move(situation) + ": " + held;
}

void explain_beyond_route(ScenarioModel& model, int32_t position, int32_t margin) {
  const int64_t route_end = int64_t{kCellLength} * model.last_cell;
  model.error_detail = metres(position) + " lies beyond the route: the route's cells run to " +
                       metres(route_end) + " (the line and " + metres(kTrackOverrun) +
                       " more), and this record needs " + metres(margin) +
                       " of them after its position, so the last it may have is " +
                       metres(route_end - margin);
  model.error_notes.clear();
}

}  // namespace tracciato
