// A track file again from its decoded entries, each with its own tag, for the
// round trip of inspect: the compiler's own encoder writes only the entries
// its track store can hold, which a file read back need not keep to.
#include <cstddef>
#include <variant>

#include "authoring/scenario_decoding.h"
#include "output/byte_encoding.h"

namespace tracciato {
namespace {

// Type tags of the entries, as the track file's writer puts them.
constexpr uint16_t kEmptyTag = 0;
constexpr uint16_t kInt16Tag = 2;
constexpr uint16_t kDoubleTag = 5;

constexpr size_t kLongestEntry = 10;

char* put_entry(char* p, const TrackNumber& n) {
  if (const int16_t* i = std::get_if<int16_t>(&n)) return put_i16le(put_u16le(p, kInt16Tag), *i);
  if (const double* d = std::get_if<double>(&n)) return put_f64le(put_u16le(p, kDoubleTag), *d);
  return put_u16le(p, kEmptyTag);
}

}  // namespace

std::string encode_track_entries(const std::vector<TrackPoint>& track) {
  std::string bytes(track.size() * 2 * kLongestEntry, '\0');
  char* p = bytes.data();
  for (size_t c = 0; c < 2; ++c) {
    for (const TrackPoint& point : track) p = put_entry(p, point[c]);
  }
  bytes.resize(static_cast<size_t>(p - bytes.data()));
  return bytes;
}

}  // namespace tracciato
