#include "compiler/track_store.h"

#include <algorithm>

namespace tracciato {
namespace {

size_t computed_rows(int32_t rows) {
  return rows > TrackStore::kStartRows ? static_cast<size_t>(rows - TrackStore::kStartRows) : 0;
}

}  // namespace

void TrackStore::create(int32_t rows) {
  clear();
  const size_t column = computed_rows(rows);
  memory_ = allocate_large(2 * column * sizeof(double));
  x_ = static_cast<double*>(memory_.get());
  y_ = x_ + column;
  rows_ = rows;
}

void TrackStore::clear() {
  start_ = {};
  memory_.reset();
  x_ = y_ = nullptr;
  rows_ = 0;
  written_ = 0;
}

TrackStore::TrackStore(const TrackStore& other) { *this = other; }

TrackStore& TrackStore::operator=(const TrackStore& other) {
  if (this == &other) return *this;
  create(other.rows_);
  start_ = other.start_;
  written_ = other.written_;
  const std::span<const double> x = other.computed(0);
  const std::span<const double> y = other.computed(1);
  std::copy(x.begin(), x.end(), x_);
  std::copy(y.begin(), y.end(), y_);
  return *this;
}

TrackStore& TrackStore::operator=(TrackStore&& other) noexcept {
  if (this == &other) return *this;
  start_ = other.start_;
  memory_ = std::move(other.memory_);
  x_ = other.x_;
  y_ = other.y_;
  rows_ = other.rows_;
  written_ = other.written_;
  other.clear();
  return *this;
}

void TrackStore::write_start(const StartRow& row_0, const StartRow& row_1) {
  if (rows_ < kStartRows) throw RuntimeFailure("a track row outside the track");
  start_ = {row_0, row_1};
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
