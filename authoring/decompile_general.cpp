// The line's general section read back from the item file: the length, the
// kilometric progressives as they stood before the compile sorted them, the
// backgrounds and the signal repetition.
#include <array>
#include <cstdlib>
#include <limits>

#include "authoring/decompile_context.h"
#include "compiler/line_features.h"

namespace tracciato {
namespace {

constexpr int32_t kRepetitionStep = 50;
constexpr int32_t kProgressiveFlagged = 1;
constexpr int32_t kProgressiveCorrection = 100;

using Triple = std::array<int32_t, 3>;

Triple triple(const ItemRecord& item) { return {item.num_1, item.num_2, item.num_3}; }

// The progressives of slots 81, 82, 83 as the description loads them:
// "tre", "due" and "uno".
constexpr int kSlots[3] = {kProgressiveTre, kProgressiveDue, kProgressiveUno};
constexpr std::string_view kWords[3] = {"tre", "due", "uno"};

// What the compile's ordering makes of three loaded records.
std::array<Triple, 3> ordered(const std::array<Triple, 3>& loaded) {
  ScenarioModel scratch;
  for (int i = 0; i < 3; ++i) {
    ItemRecord& item = scratch.item_table[static_cast<size_t>(kSlots[i])];
    item.num_1 = loaded[i][0];
    item.num_2 = loaded[i][1];
    item.num_3 = loaded[i][2];
  }
  progressive_ordina(scratch);
  std::array<Triple, 3> out;
  for (int i = 0; i < 3; ++i) out[i] = triple(scratch.item_table[static_cast<size_t>(kSlots[i])]);
  return out;
}

// Records that the ordering and its +100 for flagged values turn into the
// slots as stored; nullopt when none do.
std::optional<std::array<Triple, 3>> loaded_progressives(const std::array<Triple, 3>& stored) {
  std::array<Triple, 3> before = stored;
  for (Triple& t : before) {
    if (t[2] != kProgressiveFlagged) continue;
    if (t[1] < std::numeric_limits<int32_t>::min() + kProgressiveCorrection) return std::nullopt;
    t[1] -= kProgressiveCorrection;
  }
  // Which slot each stored record came from: "uno" holding the first one
  // reads most naturally, so that order is tried first.
  static constexpr std::array<int, 3> kOrders[] = {{2, 1, 0}, {0, 1, 2}, {0, 2, 1},
                                                   {1, 0, 2}, {1, 2, 0}, {2, 0, 1}};
  for (const auto& order : kOrders) {
    std::array<Triple, 3> loaded;
    for (int i = 0; i < 3; ++i) loaded[static_cast<size_t>(order[i])] = before[i];
    try {
      if (ordered(loaded) == stored) return loaded;
    } catch (const std::exception&) {
      // An order whose sum of positions overflows cannot be the one read.
    }
  }
  const std::array<Triple, 3> zero{};
  if (stored == zero) return zero;
  return std::nullopt;
}

void progressives(DecompileContext& ctx) {
  std::array<Triple, 3> stored;
  for (int i = 0; i < 3; ++i) stored[i] = triple(ctx.items[static_cast<size_t>(kSlots[i])]);
  // A reading that stopped in the general section never sorted them.
  const std::optional<std::array<Triple, 3>> loaded =
      ctx.features_read() ? loaded_progressives(stored) : std::optional(stored);
  if (!loaded) {
    for (int i = 0; i < 3; ++i) {
      ctx.refuse_item(kSlots[i], "num_1", std::to_string(stored[i][0]),
                      "no three progressive records sort into the slots 81 to 83 as stored");
    }
    return;
  }
  for (int i = 2; i >= 0; --i) {
    const Triple& t = (*loaded)[static_cast<size_t>(i)];
    ctx.out.line_general.push_back(make_record(RecordKind::kProgressive,
                                               record_key(RecordKind::kProgressive, kWords[i]),
                                               {t[0], t[1], t[2]}));
  }
}

void backgrounds(DecompileContext& ctx) {
  const ItemRecord& line = ctx.items[kLineIdentity];
  // uno, due, tre go into num_1, num_3, num_2.
  const std::pair<std::string_view, int32_t> kBackgrounds[] = {
      {"uno", line.num_1}, {"due", line.num_3}, {"tre", line.num_2}};
  for (const auto& [word, value] : kBackgrounds) {
    ctx.out.line_general.push_back(
        make_record(RecordKind::kBackground, record_key(RecordKind::kBackground, word), {value}));
  }
}

// The signal repetition: two distances on the 50 m grid and the code system
// the key names (none when the second distance is 0). Anything else was left
// by a repetition record the compile refused, which ended the reading there.
void signal_repetition(DecompileContext& ctx) {
  const ItemRecord& train = ctx.items[kTrainIdentity];
  const int32_t first = train.num_1;
  const int32_t second = train.num_2;
  const int32_t codes = train.num_3;
  const bool on_grid = first % kRepetitionStep == 0 && second % kRepetitionStep == 0;
  if (on_grid && ((second == 0 && codes == 0) || (second != 0 && (codes == 4 || codes == 9)))) {
    ctx.out.line_general.push_back(make_record(
        RecordKind::kSignalRepetition, repetition_key(codes == 0 ? 4 : codes), {first, second}));
    return;
  }
  if (codes != 0 && codes != 4 && codes != 9) {
    ctx.refuse_item(kTrainIdentity, "num_3", std::to_string(codes),
                    "the signal repetition stores the code system 4 or 9, or none");
    return;
  }
  if (ctx.end != ReadingEnd::kInGeneral) {
    ctx.refuse_item(kTrainIdentity, on_grid ? "num_3" : "num_1",
                    std::to_string(on_grid ? codes : first),
                    "only a refused repetition record leaves these values, and it ends the "
                    "reading in the general section");
    return;
  }
  // A refused record keeps the system an earlier one stored.
  if (codes != 0) {
    ctx.out.line_general.push_back(
        make_record(RecordKind::kSignalRepetition, repetition_key(codes), {0, kRepetitionStep}));
  }
  ctx.stop_at(
      make_record(RecordKind::kSignalRepetition, repetition_key(on_grid ? 0 : 4), {first, second}));
}

}  // namespace

void decompile_general(DecompileContext& ctx) {
  ctx.out.line_general.push_back(
      make_record(RecordKind::kLineLength, record_key(RecordKind::kLineLength), {ctx.length}));
  progressives(ctx);
  backgrounds(ctx);
  signal_repetition(ctx);
  // A length the compile refused still stands in item 84, after the one
  // that sized the route.
  const int32_t stored_length = ctx.items[kGeneralData].num_2;
  if (stored_length != ctx.length) {
    if (ctx.end == ReadingEnd::kInGeneral &&
        (stored_length < 0 || stored_length > kMaxLineLength)) {
      ctx.stop_at(make_record(RecordKind::kLineLength, record_key(RecordKind::kLineLength),
                              {stored_length}));
    } else {
      ctx.refuse_item(kGeneralData, "num_2", std::to_string(stored_length),
                      "the line's length gives the route " + std::to_string(ctx.last_cell + 1) +
                          " cells" + (ctx.track ? " and the track its rows" : ""));
    }
  }
}

}  // namespace tracciato
