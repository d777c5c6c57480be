// One attempt at reading scenario files back into descriptions, shared by the
// parts of the decompiler (not part of its interface): the files' records
// with the sealed values taken out, the route's size, where the compile's
// reading is taken to have ended, the records found so far and what no record
// can make.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "authoring/decompile.h"
#include "authoring/description_records.h"

namespace tracciato {

// Metres a point feature needs after it on the route, and a station.
inline constexpr int32_t kFeatureMargin = 100;
inline constexpr int32_t kStationMargin = 800;

struct DecompileContext {
  DecompileContext(const ScenarioFiles& files, ReadingEnd end);

  // The cells and items as the reading left them, before the seal.
  std::vector<RouteCell> cells;
  std::vector<ItemRecord> items;
  const std::vector<TrackPoint>* track = nullptr;  // nullptr: compiled without one

  int32_t last_cell = 0;
  // The lowest item entry the signs take (81 when there is none); the
  // stations' entries stay below it.
  int32_t lowest_sign = kFirstSignSlot + 1;
  int32_t length = 0;  // of the line, metres
  int32_t track_length = 0;
  ReadingEnd end;

  DescriptionSet out;
  // The record the reading stopped at, when it stored something before it
  // failed; appended to the part where the reading ends.
  std::optional<DescriptionRecord> stop;
  std::vector<Refusal> refusals;

  bool train_read() const { return end == ReadingEnd::kComplete || end == ReadingEnd::kInTrain; }
  bool features_read() const { return end != ReadingEnd::kInGeneral; }

  // The position of a point feature standing in `cell` (the cell of a
  // position p is round_half_even(p / 50 + 1)).
  static int32_t point_position(int32_t cell) { return kCellLength * (cell - 1); }
  // True when a record at `p` passes the compile's test that `margin` metres
  // of route follow it.
  bool fits_route(int64_t p, int32_t margin) const {
    return p + margin <= int64_t{kCellLength} * last_cell;
  }

  void refuse_cell(int32_t cell, std::string field, int64_t stored, std::string why);
  void refuse_item(int32_t entry, std::string field, std::string stored, std::string why);
  void refuse_track(int32_t metre, int coordinate, std::string stored, std::string why);
  // The reading can stop at one record only.
  void stop_at(DescriptionRecord record);
};

DescriptionRecord make_record(RecordKind kind, std::string key, std::vector<int32_t> numbers,
                              std::string text = {});

// The parts, each adding its records to ctx.out and its refusals.
void decompile_general(DecompileContext& ctx);
void decompile_curves(DecompileContext& ctx);
void decompile_line_features(DecompileContext& ctx);
void decompile_mountain_spans(DecompileContext& ctx);
void decompile_train(DecompileContext& ctx);

}  // namespace tracciato
