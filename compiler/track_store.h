// The track polyline as the line parser builds it, kept as compactly as the
// track file needs it.
//
// The parser writes the rows strictly in order: rows 0 and 1 are the whole
// numbers the track starts from, every later row is a pair of reals computed
// from the two before it, and the rows after the last one written stay empty.
// So the store holds the two start rows as 16-bit integers, the computed rows
// as two plain columns of doubles (x and y), and the count of rows written;
// the track file's type tags follow from a row's index alone. Storage for the
// columns is taken once when the route is sized and only ever written by the
// parser, never cleared first: a long line's 16 MB are touched once.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "compiler/runtime_failure.h"
#include "platform/large_memory.h"

namespace tracciato {

// A whole-number start row: x and y.
using StartRow = std::array<int16_t, 2>;

class TrackStore {
 public:
  // Rows before this index are the whole-number start rows.
  static constexpr int32_t kStartRows = 2;

  // Room for rows 0 to rows - 1, none written yet. REQUIRES: rows >= 0.
  void create(int32_t rows);
  // No rows at all: the run makes no track.
  void clear();

  // Rows in the table, written or not (track_length + 1 once created).
  int32_t rows() const { return rows_; }
  bool empty() const { return rows_ == 0; }
  // Rows 0 to written() - 1 hold a position; the others are empty.
  int32_t written() const { return written_; }

  // Writes rows 0 and 1 and forgets every later row. Throws RuntimeFailure
  // when the table has no room for them.
  void write_start(const StartRow& row_0, const StartRow& row_1);

  // Writes the row after the last one written. Throws RuntimeFailure when the
  // table is full or the start rows are missing.
  void append(double x, double y) {
    if (written_ < kStartRows || written_ >= rows_) append_failure();
    const auto i = static_cast<size_t>(written_ - kStartRows);
    x_[i] = x;
    y_[i] = y;
    written_ += 1;
  }

  // Writes `count` rows after the last one written, each the pair next()
  // returns, in order: append() over a run of rows, with the room checked
  // once. When the table has room for fewer, those are written and then
  // RuntimeFailure is thrown, as the append of the first row beyond them
  // would.
  template <typename Next>
  void append_run(size_t count, Next next) {
    if (written_ < kStartRows) append_failure();
    const auto room = static_cast<size_t>(rows_ - written_);
    const size_t n = std::min(count, room);
    double* const x = x_ + (written_ - kStartRows);
    double* const y = y_ + (written_ - kStartRows);
    for (size_t i = 0; i < n; ++i) {
      const std::pair<double, double> row = next();
      x[i] = row.first;
      y[i] = row.second;
    }
    written_ += static_cast<int32_t>(n);
    if (n < count) append_failure();
  }

  // Coordinate c (0 = x, 1 = y) of a written row, as a real. Throws
  // RuntimeFailure for a row outside the table or one not yet written.
  double coordinate(int32_t row, int c) const;

  const std::array<StartRow, kStartRows>& start_rows() const { return start_; }
  // Coordinate c of the computed rows kStartRows to written() - 1, in order.
  std::span<const double> computed(int c) const {
    return {c == 0 ? x_ : y_, static_cast<size_t>(std::max(written_ - kStartRows, 0))};
  }

  TrackStore() = default;
  TrackStore(const TrackStore& other);
  TrackStore& operator=(const TrackStore& other);
  TrackStore(TrackStore&& other) noexcept { *this = std::move(other); }
  TrackStore& operator=(TrackStore&& other) noexcept;

 private:
  [[noreturn]] void append_failure() const;

  std::array<StartRow, kStartRows> start_{};
  LargeMemory memory_;   // both columns, x first
  double* x_ = nullptr;  // rows kStartRows upward
  double* y_ = nullptr;
  int32_t rows_ = 0;
  int32_t written_ = 0;
};

}  // namespace tracciato
