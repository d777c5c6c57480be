// The mountain spans read back from the cells: the span kind each cell
// carries and the markers (kind 11) on every fourth cell of a span that asked
// for them.
//
// Each run of cells of one span kind becomes a span, in ascending order,
// with markers when its fourth, eighth, ... cells hold them. What one span
// per run cannot explain is explained as the compile would have made it:
// a span that reaches on under the next one (which then overwrites its span
// kind) for markers on its own count of cells; a short span placed first,
// overwritten later, for a marker on no span's count; and an empty span
// (its end before its start) where a span must not join the one before it,
// since a span starting 150 m or less after the previous one's end becomes
// kind 3.
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "authoring/decompile_context.h"
#include "compiler/line_features.h"

namespace tracciato {
namespace {

constexpr int32_t kMarkerEvery = 4;
// A span of this start and end covers no cell and ends far enough behind
// every start that the next span keeps its own kind.
constexpr int32_t kResetEnd = -1000000;

// A "montagna" record: start and end in metres, and the kind as written.
using Span = std::array<int32_t, 3>;

struct Run {
  int32_t first = 0;  // cells first..last carry `kind`
  int32_t last = 0;
  uint8_t kind = 0;
  bool markers = false;
  int32_t reach = 0;  // the span's last cell, at or after `last`
};

class SpanReader {
 public:
  explicit SpanReader(DecompileContext& ctx) : ctx_(ctx), cells_(ctx.cells) {}

  std::vector<Span> read() {
    find_runs();
    explained_.assign(cells_.size(), false);
    for (Run& run : runs_) mark_explained(run.first, run.reach, run.markers);
    for (size_t r = 0; r < runs_.size(); ++r) reach_on(r);
    for (size_t c = 0; c < cells_.size(); ++c) {
      if (kind(static_cast<int32_t>(c)) == kSpanMarkerCell && !explained_[c]) {
        helper(static_cast<int32_t>(c));
      }
    }
    for (const Run& run : runs_) emit(run);
    return std::move(spans_);
  }

 private:
  uint8_t kind(int32_t c) const { return cells_[static_cast<size_t>(c)].kind; }
  uint8_t span_kind(int32_t c) const { return cells_[static_cast<size_t>(c)].span_kind; }
  int32_t last_cell() const { return static_cast<int32_t>(cells_.size()) - 1; }

  // Runs of one span kind; a run whose counted cells hold markers and empty
  // cells both is cut after the last marker (or empty cell) before the
  // change, which keeps the count of cells going on the same beat.
  void find_runs() {
    for (int32_t c = 0; c <= last_cell();) {
      if (span_kind(c) == 0) {
        ++c;
        continue;
      }
      int32_t end = c;
      while (end + 1 <= last_cell() && span_kind(end + 1) == span_kind(c)) ++end;
      split_run(c, end);
      c = end + 1;
    }
  }

  void split_run(int32_t first, int32_t last) {
    Run run{first, last, span_kind(first), false, last};
    bool decided = false;
    for (int32_t q = first + kMarkerEvery - 1; q <= last; q += kMarkerEvery) {
      const uint8_t k = kind(q);
      if (k != kEmptyCell && k != kSpanMarkerCell) continue;
      const bool marker = k == kSpanMarkerCell;
      if (!decided) {
        run.markers = marker;
        decided = true;
      } else if (marker != run.markers) {
        // The beat goes on from the cell after the previous counted cell.
        run.last = run.reach = q - kMarkerEvery;
        runs_.push_back(run);
        run = Run{q - kMarkerEvery + 1, last, span_kind(first), marker, last};
      }
    }
    runs_.push_back(run);
  }

  void mark_explained(int32_t first, int32_t last, bool markers) {
    if (!markers) return;
    for (int32_t q = first + kMarkerEvery - 1; q <= last; q += kMarkerEvery) {
      explained_[static_cast<size_t>(q)] = true;
    }
  }

  // A span with markers reaches on under the spans after it as far as its
  // count finds markers nothing else explains and no empty cell, and the
  // cells it covers carry a later span's kind.
  void reach_on(size_t r) {
    Run& run = runs_[r];
    if (!run.markers) return;
    int32_t q = run.first + kMarkerEvery - 1;
    while (q <= run.last) q += kMarkerEvery;
    int32_t reach = run.last;
    for (; q <= last_cell(); q += kMarkerEvery) {
      bool covered = true;
      for (int32_t c = reach + 1; c <= q; ++c) covered = covered && span_kind(c) != 0;
      if (!covered || kind(q) == kEmptyCell) break;
      if (kind(q) == kSpanMarkerCell && !explained_[static_cast<size_t>(q)]) {
        for (int32_t m = reach + 1; m <= q; ++m) {
          if ((m - run.first) % kMarkerEvery == kMarkerEvery - 1) {
            explained_[static_cast<size_t>(m)] = true;
          }
        }
        reach = q;
      }
    }
    run.reach = reach;
  }

  // A marker on no span's count: a span placed before every other, from the
  // cell three before the marker on as far as its count finds markers nothing
  // else explains and no empty cell. Under spans, a later span overwrites its
  // kind; where it reaches past them it writes span kind 0 itself (a kind of
  // 266 asks for markers and stores 0), which the spans after it overwrite
  // again where they lie.
  void helper(int32_t q) {
    const int32_t first = q - (kMarkerEvery - 1);
    if (first < 0) {
      ctx_.refuse_cell(q, "kind", kind(q), "a span marker before the fourth cell of the route");
      return;
    }
    const auto covered = [&](int32_t from, int32_t to) {
      for (int32_t c = from; c <= to; ++c) {
        if (span_kind(c) == 0) return false;
      }
      return true;
    };
    const bool under_spans = covered(first, q);
    int32_t last = q;
    explained_[static_cast<size_t>(q)] = true;
    for (int32_t next = q + kMarkerEvery; next <= last_cell(); next += kMarkerEvery) {
      if (kind(next) == kEmptyCell || (under_spans && !covered(last + 1, next))) break;
      if (kind(next) == kSpanMarkerCell && !explained_[static_cast<size_t>(next)]) {
        for (int32_t m = last + kMarkerEvery; m <= next; m += kMarkerEvery) {
          explained_[static_cast<size_t>(m)] = true;
        }
        last = next;
      }
    }
    if (!spans_.empty() && !under_spans) reset();
    spans_.push_back({kCellLength * first, kCellLength * (last + 1),
                      under_spans ? kMarkerSpanKindOffset + 1 : 256 + kMarkerSpanKindOffset});
  }

  void reset() { spans_.push_back({0, kResetEnd, 0}); }

  void emit(const Run& run) {
    const int32_t start = kCellLength * run.first;
    // A span this close behind the one before becomes kind 3.
    if (!spans_.empty() && run.kind != kJoinedSpanKind &&
        int64_t{start} - spans_.back()[1] <= kSpanJoinGap) {
      reset();
    }
    int32_t tipo = run.kind;
    if (run.markers) {
      tipo += kMarkerSpanKindOffset;
    } else if (tipo > kMarkerSpanKindOffset) {
      tipo -= 256;  // stores the same byte and asks for no markers
    }
    if (!ctx_.fits_route(start, kFeatureMargin)) {
      ctx_.refuse_cell(run.first, "span_kind", run.kind,
                       "a span starting in this cell lies beyond the route for a record");
    }
    spans_.push_back({start, kCellLength * (run.reach + 1), tipo});
  }

  DecompileContext& ctx_;
  const std::vector<RouteCell>& cells_;
  std::vector<Run> runs_;
  std::vector<bool> explained_;
  std::vector<Span> spans_;
};

}  // namespace

void decompile_mountain_spans(DecompileContext& ctx) {
  const std::vector<Span> spans = SpanReader(ctx).read();
  if (spans.size() > static_cast<size_t>(kMaxSpans)) {
    ctx.refuse_cell(0, "span_kind", ctx.cells[0].span_kind,
                    "the spans need more than the 80 entries of the span tables");
  }
  for (const Span& span : spans) {
    ctx.out.line_features.push_back(make_record(RecordKind::kMountainSpan,
                                                record_key(RecordKind::kMountainSpan),
                                                {span[0], span[1], span[2]}));
  }
}

}  // namespace tracciato
