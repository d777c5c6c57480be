// The track file: tagged entries, all x coordinates (metre 0 upward), then
// all y coordinates. There is no count: the two halves are told apart only
// by having the same number of entries.
#include "authoring/byte_decoding.h"
#include "authoring/scenario_decoding.h"

namespace tracciato {
namespace {

// Type tags of the entries, as the track file's writer puts them.
constexpr uint16_t kEmptyTag = 0;
constexpr uint16_t kInt16Tag = 2;
constexpr uint16_t kDoubleTag = 5;

TrackNumber read_entry(ByteReader& in) {
  const size_t at = in.offset();
  const uint16_t tag = in.u16le("an entry's type tag");
  switch (tag) {
    case kEmptyTag:
      return std::monostate{};
    case kInt16Tag:
      return in.i16le("a 16-bit integer entry");
    case kDoubleTag:
      return in.f64le("a 64-bit real entry");
    default:
      throw DecodeError("unknown entry type tag " + std::to_string(tag) + " at byte " +
                        std::to_string(at) + " (a track file knows 0, 2 and 5)");
  }
}

}  // namespace

std::vector<TrackPoint> decode_track_file(std::string_view bytes) {
  if (bytes.empty()) throw DecodeError("an empty file holds no track point");
  ByteReader in(bytes);
  std::vector<TrackNumber> entries;
  while (!in.at_end()) entries.push_back(read_entry(in));
  if (entries.size() % 2 != 0) {
    throw DecodeError(std::to_string(entries.size()) +
                      " entries cannot be split into as many x as y coordinates");
  }
  const size_t rows = entries.size() / 2;
  if (rows > kMaxTrackRows) {
    throw DecodeError(std::to_string(rows) + " track points are more than the longest line has (" +
                      std::to_string(kMaxTrackRows) + ", metres 0 to " +
                      std::to_string(kMaxTrackRows - 1) + ")");
  }
  std::vector<TrackPoint> track(rows);
  for (size_t m = 0; m < rows; ++m) track[m] = {entries[m], entries[rows + m]};
  return track;
}

}  // namespace tracciato
