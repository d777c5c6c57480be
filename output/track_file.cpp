// The track file: every entry of the track polyline as a tagged variant, all
// of coordinate 0 (metre 0 upward), then all of coordinate 1.
#include <cstddef>
#include <stdexcept>
#include <variant>

#include "output/byte_encoding.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

// Type tags of the variant entries, as the simulator's reader knows them.
constexpr uint16_t kEmptyTag = 0;
constexpr uint16_t kInt16Tag = 2;
constexpr uint16_t kDoubleTag = 5;

constexpr size_t kTagSize = 2;

size_t entry_size(const TrackNumber& n) {
  if (std::holds_alternative<int16_t>(n)) return kTagSize + 2;
  if (std::holds_alternative<double>(n)) return kTagSize + 8;
  return kTagSize;  // an entry never written is its bare tag
}

char* put_entry(char* p, const TrackNumber& n) {
  if (const int16_t* i = std::get_if<int16_t>(&n)) return put_i16le(put_u16le(p, kInt16Tag), *i);
  if (const double* d = std::get_if<double>(&n)) return put_f64le(put_u16le(p, kDoubleTag), *d);
  return put_u16le(p, kEmptyTag);
}

}  // namespace

std::string encode_track_file(const ScenarioModel& model) {
  // A long line makes a file of tens of megabytes: size it exactly first so it
  // is filled in one pass with no reallocation.
  size_t size = 0;
  for (const TrackPoint& point : model.track_points) {
    size += entry_size(point[0]) + entry_size(point[1]);
  }
  std::string bytes(size, '\0');
  char* p = bytes.data();
  for (size_t c = 0; c < 2; ++c) {
    for (const TrackPoint& point : model.track_points) p = put_entry(p, point[c]);
  }
  if (p != bytes.data() + bytes.size()) throw std::logic_error("track entry size mismatch");
  return bytes;
}

}  // namespace tracciato
