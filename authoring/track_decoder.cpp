// The track file: tagged entries, all x coordinates (metre 0 upward), then
// all y coordinates. There is no count: the two halves are told apart only
// by having the same number of entries.
#include <bit>
#include <cstring>

#include "authoring/scenario_decoding.h"

namespace tracciato {
namespace {

// Type tags of the entries, as the track file's writer puts them.
constexpr uint16_t kEmptyTag = 0;
constexpr uint16_t kInt16Tag = 2;
constexpr uint16_t kDoubleTag = 5;

// An unsigned value stored least-significant byte first at p.
template <typename T>
T little_endian(const char* p) {
  T v = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&v, p, sizeof v);
  } else {
    for (size_t i = sizeof v; i-- > 0;) v = static_cast<T>((v << 8) | static_cast<uint8_t>(p[i]));
  }
  return v;
}

// The entry at p, which is moved past it. REQUIRES: the entry is whole and
// its tag one of the three.
TrackNumber entry_at(const char*& p) {
  const uint16_t tag = little_endian<uint16_t>(p);
  p += 2;
  if (tag == kInt16Tag) {
    const auto v = static_cast<int16_t>(little_endian<uint16_t>(p));
    p += 2;
    return v;
  }
  if (tag == kDoubleTag) {
    const auto v = std::bit_cast<double>(little_endian<uint64_t>(p));
    p += 8;
    return v;
  }
  return std::monostate{};
}

// The size of the entry at byte `at` of `bytes`, its tag checked and its
// value whole.
size_t entry_size(std::string_view bytes, size_t at) {
  if (bytes.size() - at < 2) {
    throw DecodeError("the file ends at byte " + std::to_string(bytes.size()) +
                      " inside an entry's type tag (due at byte " + std::to_string(at) +
                      ", 2 bytes)");
  }
  const uint16_t tag = little_endian<uint16_t>(bytes.data() + at);
  size_t size = 0;
  switch (tag) {
    case kEmptyTag:
      return 2;
    case kInt16Tag:
      size = 4;
      break;
    case kDoubleTag:
      size = 10;
      break;
    default:
      throw DecodeError("unknown entry type tag " + std::to_string(tag) + " at byte " +
                        std::to_string(at) + " (a track file knows 0, 2 and 5)");
  }
  if (bytes.size() - at < size) {
    throw DecodeError("the file ends at byte " + std::to_string(bytes.size()) + " inside " +
                      (tag == kInt16Tag ? "a 16-bit integer entry" : "a 64-bit real entry") +
                      " (due at byte " + std::to_string(at + 2) + ", " + std::to_string(size - 2) +
                      " bytes)");
  }
  return size;
}

}  // namespace

// The entries are counted first, so the points are taken once at their
// size and filled in place: a long line's 2 million entries are never held
// twice, nor moved as a growing list.
std::vector<TrackPoint> decode_track_file(std::string_view bytes) {
  if (bytes.empty()) throw DecodeError("an empty file holds no track point");
  size_t entries = 0;
  for (size_t at = 0; at < bytes.size(); at += entry_size(bytes, at)) ++entries;
  if (entries % 2 != 0) {
    throw DecodeError(std::to_string(entries) +
                      " entries cannot be split into as many x as y coordinates");
  }
  const size_t rows = entries / 2;
  if (rows > kMaxTrackRows) {
    throw DecodeError(std::to_string(rows) + " track points are more than the longest line has (" +
                      std::to_string(kMaxTrackRows) + ", metres 0 to " +
                      std::to_string(kMaxTrackRows - 1) + ")");
  }
  // The count checked every tag and length: the entries are read as they
  // lie, without a check per byte, each point made once from its x and its
  // y, which lie a half of the file apart.
  const char* x = bytes.data();
  const char* y = x;
  for (size_t m = 0; m < rows; ++m) entry_at(y);
  std::vector<TrackPoint> track;
  track.reserve(rows);
  for (size_t m = 0; m < rows; ++m) {
    const TrackNumber px = entry_at(x);
    track.push_back({px, entry_at(y)});
  }
  return track;
}

}  // namespace tracciato
