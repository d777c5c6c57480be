#include "authoring/decompile.h"

#include <memory>

#include "authoring/decompile_context.h"
#include "authoring/decompile_refusals.h"
#include "authoring/description_writer.h"
#include "compiler/description_source.h"
#include "driver/compile_driver.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

// The reserved values the seal writes.
constexpr int16_t kLineSeal = 610;
constexpr int16_t kCellSeal = 5121;
// Refusals listed at most; a file that is no scenario would list every field.
constexpr size_t kMostRefusals = 200;

// The competition codes of the names the item file carries.
struct Codes {
  int16_t plain;
  int32_t weighted;
};

Codes codes_of(const std::string& line_name, const std::string& train_number) {
  ScenarioModel names;
  names.item_table[kLineIdentity].name = line_name;
  names.item_table[kTrainIdentity].name = train_number;
  return {codice_gara_og(names), codice_gara_st(names)};
}

// Takes the seal back out: 610 and the weighted code in item 85, 5121 and
// the plain code in cell 1, each refused when it is not what the compile
// writes for these names.
void unseal(DecompileContext& ctx) {
  ItemRecord& line = ctx.items[kLineIdentity];
  RouteCell& first = ctx.cells[1];
  const Codes codes = codes_of(line.name, ctx.items[kTrainIdentity].name);
  if (line.small_1 != kLineSeal) {
    ctx.refuse_item(kLineIdentity, "small_1", std::to_string(line.small_1),
                    "a reserved slot: the compile always writes 610 there");
  }
  if (line.num_4 != codes.weighted) {
    ctx.refuse_item(kLineIdentity, "num_4", std::to_string(line.num_4),
                    "the weighted competition code of the line and train names is " +
                        std::to_string(codes.weighted));
  }
  // A code that does not match the names: either may have changed.
  if (line.num_4 != codes.weighted || first.value_2 != codes.plain) {
    for (const int entry : {kLineIdentity, kTrainIdentity}) {
      ctx.refuse_item(entry, "name", ctx.items[static_cast<size_t>(entry)].name,
                      "the names do not give the competition codes stored in item 85 and cell 1");
    }
  }
  if (first.value_1 != kCellSeal) {
    ctx.refuse_cell(1, "value_1", first.value_1,
                    "a reserved slot: the compile always writes 5121 there");
  }
  if (first.value_2 != codes.plain) {
    ctx.refuse_cell(
        1, "value_2", first.value_2,
        "the plain competition code of the line and train names is " + std::to_string(codes.plain));
  }
  line.small_1 = 0;
  line.num_4 = 0;
  first.value_1 = 0;
  first.value_2 = 0;
  if (!(ctx.items[0] == ItemRecord{})) {
    ctx.refuse_item(0, "kind", std::to_string(ctx.items[0].kind),
                    "item 0 is never written: no record stores anything in it");
  }
}

bool is_train_kind(uint8_t kind) {
  switch (kind) {
    case kSignalCell:
    case kSlowdownEndCell:
    case kSlowdownStartCell:
    case kSlowdownWarningCell:
    case kSlowdownApproachCell:
    case kStationStopCell:
    case kAbbattimentoValueCell:
    case kAbbattimentoCell:
      return true;
    default:
      return false;
  }
}

bool is_line_kind(uint8_t kind) {
  return kind == kSpeedIndicatorCell || kind == kSpanMarkerCell || kind == kIndicationSignCell;
}

void refuse_unplaced_kinds(DecompileContext& ctx) {
  for (size_t i = 0; i < ctx.cells.size(); ++i) {
    const RouteCell& cell = ctx.cells[i];
    const uint8_t kind = cell.kind;
    const auto c = static_cast<int32_t>(i);
    if (kind == kEmptyCell || kind == kSpanMarkerCell) {
      if (cell.value_1 != 0 || cell.value_2 != 0 || cell.value_3 != 0 || cell.value_4 != 0 ||
          cell.signal_time != 0) {
        ctx.refuse_cell(c, "kind", kind,
                        "the cell holds values but no object: no record leaves values without "
                        "the object they belong to");
      }
      if (kind == kEmptyCell) continue;
    }
    if (!is_train_kind(kind) && !is_line_kind(kind)) {
      ctx.refuse_cell(c, "kind", kind, "no record places a cell of kind " + std::to_string(kind));
    } else if ((is_train_kind(kind) && !ctx.train_read()) ||
               (is_line_kind(kind) && !ctx.features_read())) {
      ctx.refuse_cell(c, "kind", kind,
                      "a reading " + std::string(reading_end_words(ctx.end)) +
                          " places no object of this kind");
    }
  }
}

// The record a reading that failed without storing anything stops at: one
// of the kind read last, its first value no number.
DescriptionRecord unreadable_record(const std::vector<DescriptionRecord>& part,
                                    RecordKind fallback) {
  RecordKind kind = part.empty() ? fallback : part.back().kind;
  if (kind == RecordKind::kCurve) kind = RecordKind::kGradient;  // read only with a track
  DescriptionRecord record = make_record(kind, record_key(kind), {});
  record.stops_reading = true;
  record.unreadable_value = 0;
  return record;
}

void end_the_reading(DecompileContext& ctx) {
  DescriptionSet& out = ctx.out;
  std::vector<DescriptionRecord>* part = nullptr;
  RecordKind fallback = RecordKind::kSand;
  switch (ctx.end) {
    case ReadingEnd::kComplete:
      if (ctx.stop) {
        ctx.refuse_item(kGeneralData, "num_2", std::to_string(ctx.items[kGeneralData].num_2),
                        "only a reading that stopped leaves these values");
      }
      return;
    case ReadingEnd::kInGeneral:
      part = &out.line_general;
      fallback = RecordKind::kBackground;
      break;
    case ReadingEnd::kInFeatures:
      part = &out.line_features;
      fallback = RecordKind::kGradient;
      break;
    case ReadingEnd::kInTrain:
      part = &out.train;
      break;
  }
  if (ctx.stop) {
    part->push_back(*ctx.stop);
  } else if (part->empty() || !part->back().stops_reading) {
    part->push_back(unreadable_record(*part, fallback));
  }
}

struct Attempt {
  DescriptionSet records;
  std::vector<Refusal> refusals;
};

Attempt read_back(const ScenarioFiles& files, ReadingEnd end) {
  DecompileContext ctx(files, end);
  unseal(ctx);
  decompile_general(ctx);
  if (ctx.features_read()) {
    decompile_curves(ctx);
    decompile_line_features(ctx);
  }
  if (ctx.train_read()) decompile_train(ctx);
  end_the_reading(ctx);
  refuse_unplaced_kinds(ctx);
  ctx.out.end = end;
  return {std::move(ctx.out), std::move(ctx.refusals)};
}

// What the files show of where the reading ended, most likely first: a
// track is started once the general section ends and runs on to its end
// once the line is read; train data means the line was read.
std::vector<ReadingEnd> possible_ends(const ScenarioFiles& files) {
  bool line = false;
  const ItemRecord& general = files.items[kGeneralData];
  const ItemRecord& train_item = files.items[kTrainIdentity];
  bool train = general.num_1 != 0 || general.num_3 != 0 || train_item.small_1 != 0 ||
               train_item.small_3 != 0 || train_item.small_4 != 0 || train_item.small_5 != 0;
  for (size_t i = 0; i < files.cells.size(); ++i) {
    const RouteCell& c = files.cells[i];
    train = train || is_train_kind(c.kind) || c.approach_code != 0 || c.speed_limit != 0 ||
            c.adhesion != 0;
    line = line || is_line_kind(c.kind) || c.gradient != 0 || c.span_kind != 0;
  }
  std::vector<ReadingEnd> ends = {ReadingEnd::kComplete, ReadingEnd::kInTrain,
                                  ReadingEnd::kInFeatures, ReadingEnd::kInGeneral};
  if (files.track && !files.track->empty()) {
    int32_t written = 0;
    while (
        static_cast<size_t>(written) < files.track->size() &&
        !std::holds_alternative<std::monostate>((*files.track)[static_cast<size_t>(written)][0])) {
      ++written;
    }
    const auto full = static_cast<int32_t>(files.track->size()) - 2;
    if (written == 0) {
      ends = {ReadingEnd::kInGeneral};
    } else if (written != full) {
      ends = {ReadingEnd::kInFeatures};
    }
  }
  std::vector<ReadingEnd> kept;
  for (const ReadingEnd end : ends) {
    const bool reads_train = end == ReadingEnd::kComplete || end == ReadingEnd::kInTrain;
    if (train && !reads_train) continue;
    if (line && end == ReadingEnd::kInGeneral) continue;
    kept.push_back(end);
  }
  if (kept.empty()) kept.push_back(ends.front());
  return kept;
}

// True when the bytes the sink is handed, in order, are `expected` whole.
class ChunkComparer {
 public:
  explicit ChunkComparer(std::string_view expected) : expected_(expected) {}
  void operator()(std::string_view chunk) {
    same_ = same_ && chunk.size() <= expected_.size() - at_ &&
            expected_.substr(at_, chunk.size()) == chunk;
    if (same_) at_ += chunk.size();
  }
  bool same() const { return same_ && at_ == expected_.size(); }

 private:
  std::string_view expected_;
  size_t at_ = 0;
  bool same_ = true;
};

struct Compiled {
  std::unique_ptr<ScenarioModel> model;
  CompileStop stop = CompileStop::kNone;
};

Compiled compile_texts(const std::string& line_text, const std::string& train_text,
                       const std::string& line_name, const std::string& train_number, bool track) {
  Compiled out{std::make_unique<ScenarioModel>()};
  out.model->line_name = line_name;
  out.model->train_number = train_number;
  DescriptionTexts source(line_text, train_text);
  out.stop = compile_scenario(*out.model, track ? 1 : 0, source);
  return out;
}

ScenarioFiles files_of(const ScenarioModel& model) {
  return decode_scenario_files(
      encode_cell_file(model), encode_item_file(model),
      model.track_flag != 0 ? std::optional<std::string>(encode_track_file(model)) : std::nullopt);
}

// Compiles the descriptions and compares every byte with the files; the
// fields that differ become refusals.
bool prove(const DecompileResult& result, const ScenarioFiles& files,
           std::vector<Refusal>& refusals) {
  const Compiled compiled = compile_texts(result.line_text, result.train_text, result.line_name,
                                          result.train_number, files.track.has_value());
  if (compiled.stop != CompileStop::kNone) {
    refusals.push_back({ScenarioFileKind::kCell, 1, "value_1", 0,
                        std::to_string(files.cells.size() > 1 ? files.cells[1].value_1 : 0),
                        "the descriptions read back stop their compile before it writes (an "
                        "object with values in cell 1, or no route)"});
    return false;
  }
  const ScenarioModel& model = *compiled.model;
  bool same =
      encode_cell_file(model) == files.cell_bytes && encode_item_file(model) == files.item_bytes;
  if (same && files.track_bytes) {
    ChunkComparer track(*files.track_bytes);
    encode_track_file(model, [&track](std::string_view chunk) { track(chunk); });
    same = track.same();
  }
  if (same) return true;
  list_differences(files, files_of(model), refusals, kMostRefusals);
  return false;
}

}  // namespace

DescriptionRecord make_record(RecordKind kind, std::string key, std::vector<int32_t> numbers,
                              std::string text) {
  DescriptionRecord record;
  record.kind = kind;
  record.key = std::move(key);
  record.numbers = std::move(numbers);
  record.text = std::move(text);
  return record;
}

void DecompileContext::stop_at(DescriptionRecord record) {
  if (stop) {
    refuse_item(kGeneralData, "num_2", std::to_string(items[kGeneralData].num_2),
                "the reading can stop at one record only, and two would be needed");
    return;
  }
  record.stops_reading = true;
  stop = std::move(record);
}

DecompileContext::DecompileContext(const ScenarioFiles& files, ReadingEnd end)
    : cells(files.cells), items(files.items), end(end) {
  if (files.track) track = &*files.track;
  last_cell = static_cast<int32_t>(cells.size()) - 1;
  const auto gives_route = [&](int64_t l) {
    return l >= 0 && l <= kMaxLineLength &&
           round_half_even(static_cast<double>(l + kTrackOverrun) / kCellLength) == last_cell &&
           (track == nullptr || static_cast<int64_t>(track->size()) == l + kTrackOverrun + 1);
  };
  const int32_t stored = items[kGeneralData].num_2;
  int64_t l = stored;
  if (!gives_route(l)) {
    l = track != nullptr ? static_cast<int64_t>(track->size()) - kTrackOverrun - 1
                         : int64_t{kCellLength} * last_cell - kTrackOverrun;
  }
  if (!gives_route(l)) {
    refuse_cell(last_cell, "kind", cells.back().kind,
                std::to_string(cells.size()) + " cells" +
                    (track != nullptr ? " and " + std::to_string(track->size()) + " track rows"
                                      : std::string()) +
                    " are no route a line length gives");
    l = stored;
  }
  length = static_cast<int32_t>(l);
  track_length = length + kTrackOverrun;
}

ScenarioFiles decode_scenario_files(std::string cell_bytes, std::string item_bytes,
                                    std::optional<std::string> track_bytes) {
  ScenarioFiles files;
  files.cells = decode_cell_file(cell_bytes);
  files.items = decode_item_file(item_bytes);
  if (track_bytes) files.track = decode_track_file(*track_bytes);
  files.cell_bytes = std::move(cell_bytes);
  files.item_bytes = std::move(item_bytes);
  files.track_bytes = std::move(track_bytes);
  return files;
}

std::optional<ScenarioFiles> compile_in_memory(const std::string& line_text,
                                               const std::string& train_text,
                                               const std::string& line_name,
                                               const std::string& train_number, bool track) {
  const Compiled compiled = compile_texts(line_text, train_text, line_name, train_number, track);
  if (compiled.stop != CompileStop::kNone) return std::nullopt;
  return files_of(*compiled.model);
}

DecompileResult decompile_scenario(const ScenarioFiles& files) {
  DecompileResult result;
  result.line_name = files.items[kLineIdentity].name;
  result.train_number = files.items[kTrainIdentity].name;
  // The shortest line, of 0 m, runs on for 7000 m: cells 0 to 140.
  constexpr size_t kFewestCells = kTrackOverrun / kCellLength + 1;
  if (files.cells.size() < kFewestCells) {
    result.refusals.push_back({ScenarioFileKind::kCell, 0, "kind", 0,
                               std::to_string(files.cells.front().kind),
                               std::to_string(files.cells.size()) +
                                   " cells are fewer than the 141 of the shortest route"});
    return result;
  }
  std::optional<Attempt> first;
  for (const ReadingEnd end : possible_ends(files)) {
    Attempt attempt = read_back(files, end);
    // The most likely reading is compiled even when it refuses fields, so
    // that every field it does not give is listed, not only those it found;
    // the compile has the last word.
    if (attempt.refusals.empty() || !first) {
      result.records = attempt.records;
      result.line_text = write_line_description(attempt.records);
      result.train_text = write_train_description(attempt.records);
      if (prove(result, files, attempt.refusals)) {
        result.proven = true;
        return result;
      }
    }
    if (!first) first = std::move(attempt);
  }
  result.records = first->records;
  result.line_text.clear();
  result.train_text.clear();
  result.refusals = std::move(first->refusals);
  place_refusals(result.refusals, files);
  return result;
}

}  // namespace tracciato
