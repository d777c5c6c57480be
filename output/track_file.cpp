// The track file: every entry of the track polyline with its type tag, all of
// coordinate 0 (metre 0 upward), then all of coordinate 1. The tags follow
// from a row's index: the start rows are 16-bit integers, the computed rows
// reals, and the rows never written bare empty tags.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <span>

#include "output/byte_encoding.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

// Type tags of the entries, as the simulator's reader knows them.
constexpr uint16_t kEmptyTag = 0;
constexpr uint16_t kInt16Tag = 2;
constexpr uint16_t kDoubleTag = 5;

constexpr size_t kTagSize = 2;
constexpr size_t kInt16Entry = kTagSize + 2;
constexpr size_t kDoubleEntry = kTagSize + 8;

// Small enough to stay in the processor's cache between being filled and
// being copied out by the write, and to be taken from memory the process
// already has rather than pages mapped afresh; large enough that a long
// line's 20 MB go out in a few hundred writes.
constexpr size_t kChunkBytes = size_t{64} << 10;

// Fills one buffer at a time and hands it to the sink whenever the next
// entries would not fit.
class ChunkWriter {
 public:
  // REQUIRES: total > 0, the bytes the file will hold, so a small file gets a
  // buffer no larger than itself.
  ChunkWriter(const ChunkSink& sink, size_t total)
      : sink_(sink),
        capacity_(std::min(total, kChunkBytes)),
        memory_(std::make_unique_for_overwrite<char[]>(capacity_)),
        buffer_(memory_.get()) {}

  // Room for `entries` entries of `width` bytes each, at most: how many fit
  // before the buffer must be handed on (at least one).
  size_t room(size_t entries, size_t width) {
    if (capacity_ - used_ < width) flush();
    return std::min(entries, (capacity_ - used_) / width);
  }
  char* end() { return buffer_ + used_; }
  void advance_to(const char* p) { used_ = static_cast<size_t>(p - buffer_); }

  void flush() {
    if (used_ != 0) sink_(std::string_view(buffer_, used_));
    used_ = 0;
  }

 private:
  const ChunkSink& sink_;
  size_t capacity_;
  std::unique_ptr<char[]> memory_;
  char* buffer_;
  size_t used_ = 0;
};

void put_reals(ChunkWriter& out, std::span<const double> reals) {
  while (!reals.empty()) {
    const size_t n = out.room(reals.size(), kDoubleEntry);
    char* p = out.end();
    for (size_t i = 0; i < n; ++i) p = put_f64le(put_u16le(p, kDoubleTag), reals[i]);
    out.advance_to(p);
    reals = reals.subspan(n);
  }
}

void put_empty(ChunkWriter& out, size_t entries) {
  static_assert(kEmptyTag == 0, "an empty entry is two zero bytes");
  while (entries > 0) {
    const size_t n = out.room(entries, kTagSize);
    std::memset(out.end(), 0, n * kTagSize);
    out.advance_to(out.end() + n * kTagSize);
    entries -= n;
  }
}

// The file's size: every row of both coordinates, by the kind of its entry.
size_t file_size(const TrackStore& track) {
  const auto start_rows = static_cast<size_t>(std::min(track.written(), TrackStore::kStartRows));
  const size_t reals = track.computed(0).size();
  const auto empty = static_cast<size_t>(track.rows() - track.written());
  return 2 * (start_rows * kInt16Entry + reals * kDoubleEntry + empty * kTagSize);
}

void put_coordinate(ChunkWriter& out, const TrackStore& track, int c) {
  const auto start_rows = static_cast<size_t>(std::min(track.written(), TrackStore::kStartRows));
  out.room(start_rows, kInt16Entry);
  char* p = out.end();
  for (size_t row = 0; row < start_rows; ++row) {
    p = put_i16le(put_u16le(p, kInt16Tag), track.start_rows()[row][static_cast<size_t>(c)]);
  }
  out.advance_to(p);
  put_reals(out, track.computed(c));
  put_empty(out, static_cast<size_t>(track.rows() - track.written()));
}

}  // namespace

void encode_track_file(const ScenarioModel& model, const ChunkSink& sink) {
  const size_t size = file_size(model.track_points);
  if (size == 0) return;
  ChunkWriter out(sink, size);
  for (int c = 0; c < 2; ++c) put_coordinate(out, model.track_points, c);
  out.flush();
}

std::string encode_track_file(const ScenarioModel& model) {
  std::string bytes;
  bytes.reserve(file_size(model.track_points));
  encode_track_file(model, [&bytes](std::string_view chunk) { bytes.append(chunk); });
  return bytes;
}

}  // namespace tracciato
