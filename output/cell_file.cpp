// The cell file: one 15-byte record per route cell, cells 0 to last_cell.
#include <cstddef>
#include <stdexcept>

#include "output/byte_encoding.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

constexpr size_t kCellRecordSize = 15;

char* put_cell(char* p, const RouteCell& cell) {
  p = put_u8(p, cell.kind);
  p = put_i16le(p, cell.value_1);
  p = put_i16le(p, cell.value_2);
  p = put_i16le(p, cell.value_3);
  p = put_i16le(p, cell.value_4);
  p = put_u8(p, cell.signal_time);
  p = put_u8(p, cell.approach_code);
  p = put_u8(p, cell.span_kind);
  p = put_u8(p, cell.speed_limit);
  p = put_u8(p, cell.gradient);
  return put_u8(p, cell.adhesion);
}

}  // namespace

std::string encode_cell_file(const ScenarioModel& model) {
  std::string bytes(kCellRecordSize * model.route_cells.size(), '\0');
  char* p = bytes.data();
  for (const RouteCell& cell : model.route_cells) p = put_cell(p, cell);
  if (p != bytes.data() + bytes.size()) throw std::logic_error("cell record size mismatch");
  return bytes;
}

}  // namespace tracciato
