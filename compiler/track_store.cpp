#include "compiler/track_store.h"

#include <cstddef>

namespace tracciato {

void TrackStore::create(int32_t rows) {
  clear();
  rows_ = rows;
  // Reserved, not sized: the columns grow only by the rows the parser writes.
  const size_t computed_rows = rows > kStartRows ? static_cast<size_t>(rows - kStartRows) : 0;
  x_.reserve(computed_rows);
  y_.reserve(computed_rows);
}

void TrackStore::clear() {
  start_ = {};
  // Swapped out rather than cleared, so a new route never keeps the old
  // route's storage.
  std::vector<double>().swap(x_);
  std::vector<double>().swap(y_);
  rows_ = 0;
  written_ = 0;
}

void TrackStore::write_start(const StartRow& row_0, const StartRow& row_1) {
  if (rows_ < kStartRows) throw RuntimeFailure("a track row outside the track");
  start_ = {row_0, row_1};
  x_.clear();
  y_.clear();
  written_ = kStartRows;
}

double TrackStore::coordinate(int32_t row, int c) const {
  if (row < 0 || row >= rows_) throw RuntimeFailure("a track row outside the track");
  if (row >= written_) throw RuntimeFailure("a track row read before it was written");
  if (row < kStartRows) return start_[static_cast<size_t>(row)][static_cast<size_t>(c)];
  return computed(c)[static_cast<size_t>(row - kStartRows)];
}

void TrackStore::append_failure() const {
  if (written_ < kStartRows) throw RuntimeFailure("a track row read before it was written");
  throw RuntimeFailure("a track row outside the track");
}

}  // namespace tracciato
