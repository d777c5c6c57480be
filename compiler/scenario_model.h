// The scenario model: everything the compile steps share between reading the
// two descriptions and writing the three binary scenario files.
//
// The route cells and the item table are written to disk field by field
// (see docs/file_formats.md), so the field order and the fixed widths below
// are part of the simulator's file formats. Keep them as they are.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/cell_origins.h"
#include "compiler/track_store.h"

namespace tracciato {

inline constexpr int32_t kCellLength = 50;      // metres per route cell
inline constexpr int32_t kTrackOverrun = 7000;  // the model runs on beyond the line's end
inline constexpr int32_t kMaxLineLength = 1000000;
inline constexpr int kItemCount = 87;      // item table entries 0 to 86
inline constexpr int kSpanTableSize = 81;  // span tables, entries 0 to 80 (0 unused)

// Fixed entries of the item table. Stations count up from 1, indication signs
// down from kFirstSignSlot.
inline constexpr int kFirstSignSlot = 80;
inline constexpr int kProgressiveTre = 81;
inline constexpr int kProgressiveDue = 82;
inline constexpr int kProgressiveUno = 83;
inline constexpr int kGeneralData = 84;
inline constexpr int kLineIdentity = 85;
inline constexpr int kTrainIdentity = 86;

// Cell kinds.
enum CellKind : uint8_t {
  kEmptyCell = 0,
  kSignalCell = 1,
  kSlowdownEndCell = 2,
  kSlowdownStartCell = 3,
  kSlowdownWarningCell = 4,
  kSlowdownApproachCell = 5,
  kSpeedIndicatorCell = 6,
  kStationStopCell = 10,
  kSpanMarkerCell = 11,
  kAbbattimentoValueCell = 12,
  kAbbattimentoCell = 13,
  kIndicationSignCell = 14,
};

// One 50-metre stretch of the route; cell n begins at (n - 1) x 50 m.
// Fields 1 to 7 describe the one object in the cell, 8 to 11 the stretch.
struct RouteCell {
  uint8_t kind = 0;
  int16_t value_1 = 0;
  int16_t value_2 = 0;
  int16_t value_3 = 0;
  int16_t value_4 = 0;
  uint8_t signal_time = 0;
  uint8_t approach_code = 0;
  uint8_t span_kind = 0;
  uint8_t speed_limit = 0;  // km/h divided by 5
  uint8_t gradient = 0;     // gradient plus 100
  uint8_t adhesion = 0;

  friend bool operator==(const RouteCell&, const RouteCell&) = default;
};

struct ItemRecord {
  uint8_t kind = 0;
  int32_t num_1 = 0;
  int32_t num_2 = 0;
  int32_t num_3 = 0;
  uint8_t flag = 0;
  std::string name;  // single-byte Windows-1252 text
  int16_t small_1 = 0;
  int16_t small_2 = 0;
  int16_t small_3 = 0;
  int16_t small_4 = 0;
  int16_t small_5 = 0;
  uint8_t byte_1 = 0;
  uint8_t byte_2 = 0;
  uint8_t byte_3 = 0;
  uint8_t byte_4 = 0;
  int32_t num_4 = 0;

  friend bool operator==(const ItemRecord&, const ItemRecord&) = default;
};

// Which description a diagnostic points into.
enum class Description : uint8_t { kNone, kLine, kTrain };

// Where the record that caused the last compile problem starts, for people;
// nothing of it reaches the scenario files.
struct ErrorSite {
  Description description = Description::kNone;
  int32_t line = 0;    // 1-based; 0 when unknown
  int32_t column = 0;  // 1-based byte column of the field
};

// A related place of the last compile problem, for people: the record that
// placed what occupies a cell the refused record needed.
struct ErrorNote {
  ErrorSite site;
  std::string message;
};

struct ScenarioModel {
  std::string line_name;
  std::string train_number;
  int32_t track_flag = 0;

  // Route cells 0 to last_cell; empty until the line length is read.
  std::vector<RouteCell> route_cells;
  int32_t track_length = 0;
  int32_t last_cell = 0;

  std::array<ItemRecord, kItemCount> item_table{};

  // Rows 0 to track_length when track_flag is set; empty otherwise.
  TrackStore track_points;

  std::array<int32_t, kSpanTableSize> span_starts{};
  std::array<int32_t, kSpanTableSize> span_ends{};
  int32_t span_count = 0;

  int32_t error_code = 0;
  int32_t error_position = 0;
  // Where error_position was taken from; the train phase may take it from a
  // later record than the one that caused error_code.
  ErrorSite error_site;
  // Where the record that caused error_code stands.
  ErrorSite code_site;
  // What went wrong in words, when the code alone does not say (code 25's
  // many causes); empty otherwise.
  std::string error_detail;
  std::vector<ErrorNote> error_notes;

  // Which record placed the object in each occupied cell; for the words of a
  // clash only.
  CellOrigins cell_origins;

  bool has_route() const { return !route_cells.empty(); }
};

// The real x converted to a signed 32-bit integer: nearest integer, halves to
// the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0). Every position-to-cell
// conversion goes through it. Throws RuntimeFailure when the result does not
// fit 32 bits.
int32_t round_half_even(double x);

// Cell of a point feature at p metres: round_half_even(p / 50 + 1).
int32_t cell_of_position(int32_t p);

// A free cell holds nothing, or only a mountain-span marker that any
// placement may replace.
inline bool is_free(const RouteCell& cell) {
  return cell.kind == kEmptyCell || cell.kind == kSpanMarkerCell;
}

// A new problem code: the words and notes of the one it replaces go with it.
inline void forget_error_words(ScenarioModel& model) {
  model.error_detail.clear();
  model.error_notes.clear();
}

// Cell c now holds an object of the record being placed (see CellOrigins).
inline void note_placed(ScenarioModel& model, int32_t c) {
  model.cell_origins.placed(c, model.route_cells.size());
}

// Clears every item entry: all numbers 0, names empty.
void reset_item_table(ScenarioModel& model);

// Sizes the route for a line of `length` metres: track_length, last_cell and
// all-zero route cells; the empty track polyline too when track_flag is set.
// REQUIRES: 0 <= length <= kMaxLineLength.
void create_route(ScenarioModel& model, int32_t length);

}  // namespace tracciato
