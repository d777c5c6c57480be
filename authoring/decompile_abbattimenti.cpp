// The train's abbattimento marks read back from their cells: what remains of
// kinds 12 and 13 once the marks the completion pass adds are set apart,
// which is found by running that pass itself over the cells without them.
#include <algorithm>
#include <set>

#include "authoring/decompile_train.h"
#include "compiler/compile.h"

namespace tracciato {
namespace {

constexpr int16_t kCompletionValue = 180;
// The completion pass is run again for each mark taken as the description's.
constexpr int kCompletionRounds = 512;

// The completion pass over the cells as the reading left them: with no mark
// of value but the description's own.
class CompletionReplay {
 public:
  explicit CompletionReplay(const DecompileContext& ctx) : stored_(ctx.cells) {
    scratch_.last_cell = ctx.last_cell;
    base_ = stored_;
    for (size_t i = 0; i < base_.size(); ++i) {
      if (base_[i].kind != kAbbattimentoValueCell) continue;
      base_[i].kind = kEmptyCell;
      base_[i].value_1 = 0;
      marks_.push_back(static_cast<int32_t>(i));
    }
  }

  const std::vector<int32_t>& marks() const { return marks_; }

  // The first cell where the pass, with `own` the description's marks,
  // leaves another mark than stored (or none where one is stored, or one
  // where none is); cells.size() when it leaves every one as stored. With
  // `valued`, the description's marks of another value than 180 that it
  // does not make go there.
  size_t first_difference(const std::set<int32_t>& own, std::vector<int32_t>* valued = nullptr) {
    scratch_.route_cells = base_;
    for (const int32_t c : own) {
      scratch_.route_cells[static_cast<size_t>(c)] = stored_[static_cast<size_t>(c)];
    }
    complete_signalling(scratch_);
    size_t first = stored_.size();
    for (size_t i = 0; i < stored_.size(); ++i) {
      const RouteCell& made = scratch_.route_cells[i];
      const RouteCell& stored = stored_[i];
      const bool marked = made.kind == kAbbattimentoValueCell;
      const bool stored_mark = stored.kind == kAbbattimentoValueCell;
      if (marked == stored_mark && (!marked || made.value_1 == stored.value_1)) continue;
      if (own.count(static_cast<int32_t>(i)) != 0) continue;
      if (valued != nullptr && stored_mark && stored.value_1 != kCompletionValue) {
        valued->push_back(static_cast<int32_t>(i));
      }
      first = std::min(first, i);
    }
    return first;
  }

 private:
  const std::vector<RouteCell>& stored_;
  std::vector<RouteCell> base_;
  std::vector<int32_t> marks_;
  ScenarioModel scratch_;
};

// The description's marks: those the pass does not make as stored. Marks of
// another value than 180 are the description's at once; a mark of 180 that
// the pass makes elsewhere is found by trying the stored marks next to where
// the pass first goes astray, keeping the one that sets it right furthest on.
std::set<int32_t> own_marks(const DecompileContext& ctx) {
  CompletionReplay replay(ctx);
  const std::set<int32_t> stored(replay.marks().begin(), replay.marks().end());
  std::set<int32_t> own;
  constexpr int32_t kNearby = 3;
  for (int round = 0; round < kCompletionRounds; ++round) {
    std::vector<int32_t> valued;
    const size_t first = replay.first_difference(own, &valued);
    if (first == ctx.cells.size()) break;
    if (!valued.empty()) {
      own.insert(valued.begin(), valued.end());
      continue;
    }
    const auto d = static_cast<int32_t>(first);
    int32_t best = -1;
    size_t best_reach = first;
    for (int32_t offset = 0; offset <= kNearby; ++offset) {
      for (const int32_t c : {d + offset, d - offset}) {
        if (stored.count(c) == 0 || own.count(c) != 0 || (offset == 0 && c != d)) continue;
        std::set<int32_t> trial = own;
        trial.insert(c);
        const size_t reach = replay.first_difference(trial);
        if (reach > best_reach) {
          best_reach = reach;
          best = c;
        }
      }
    }
    if (best < 0) break;  // no mark of the description sets it right; the proof names the cell
    own.insert(best);
  }
  return own;
}

}  // namespace

void read_abbattimenti(DecompileContext& ctx, TrainPlacements& out) {
  const std::set<int32_t> own = own_marks(ctx);
  for (size_t i = 0; i < ctx.cells.size(); ++i) {
    const RouteCell& cell = ctx.cells[i];
    const auto c = static_cast<int32_t>(i);
    const bool value_mark = cell.kind == kAbbattimentoValueCell && own.count(c) != 0;
    if (!value_mark && cell.kind != kAbbattimentoCell) continue;
    if (value_mark && cell.value_1 <= 0) {
      ctx.refuse_cell(c, "value_1", cell.value_1,
                      "an abbattimento mark with a value stores a value above 0");
    }
    const int32_t p = kCellLength * c;  // the cell that begins at the position
    if (!ctx.fits_route(p, kFeatureMargin)) {
      ctx.refuse_cell(c, "kind", cell.kind,
                      "an abbattimento mark in this cell lies beyond the route");
    }
    out.abbattimenti.push_back(make_record(RecordKind::kAbbattimento,
                                           record_key(RecordKind::kAbbattimento),
                                           {p, value_mark ? int32_t{cell.value_1} : 0}));
  }
}

}  // namespace tracciato
