// The cell file: one 15-byte record per route cell, nothing else.
#include "authoring/byte_decoding.h"
#include "authoring/scenario_decoding.h"

namespace tracciato {

std::vector<RouteCell> decode_cell_file(std::string_view bytes) {
  if (bytes.empty()) throw DecodeError("an empty file holds no cell: a cell file has at least one");
  if (bytes.size() % kCellRecordSize != 0) {
    throw DecodeError(std::to_string(bytes.size()) + " bytes are not whole 15-byte cell records (" +
                      std::to_string(bytes.size() / kCellRecordSize) + " records and " +
                      std::to_string(bytes.size() % kCellRecordSize) + " bytes left over)");
  }
  if (bytes.size() / kCellRecordSize > kMaxCells) {
    throw DecodeError(std::to_string(bytes.size() / kCellRecordSize) +
                      " cells are more than the longest line has (" + std::to_string(kMaxCells) +
                      ")");
  }
  ByteReader in(bytes);
  std::vector<RouteCell> cells(bytes.size() / kCellRecordSize);
  for (RouteCell& cell : cells) {
    cell.kind = in.u8("a cell's kind");
    cell.value_1 = in.i16le("value_1");
    cell.value_2 = in.i16le("value_2");
    cell.value_3 = in.i16le("value_3");
    cell.value_4 = in.i16le("value_4");
    cell.signal_time = in.u8("signal_time");
    cell.approach_code = in.u8("approach_code");
    cell.span_kind = in.u8("span_kind");
    cell.speed_limit = in.u8("speed_limit");
    cell.gradient = in.u8("gradient");
    cell.adhesion = in.u8("adhesion");
  }
  return cells;
}

}  // namespace tracciato
