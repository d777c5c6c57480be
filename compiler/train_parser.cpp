#include "compiler/train_parser.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "compiler/checked_int.h"
#include "compiler/refusal_words.h"
#include "compiler/route_access.h"
#include "compiler/runtime_failure.h"
#include "compiler/signal_placement.h"
#include "compiler/train_phase.h"

namespace tracciato {
namespace {

constexpr int32_t kAbbattimentoCellBusy = 7;
constexpr int32_t kSignalCellBusy = 16;
constexpr int32_t kWarningCellBusy = 17;
constexpr int32_t kStartCellBusy = 18;
constexpr int32_t kEndCellBusy = 19;
constexpr int32_t kNumberedMarkBusy = 20;
constexpr int32_t kProgressiveNotOnCell = 2;

// A record's position must leave 100 m of route after it.
constexpr int32_t kRecordMargin = 100;
constexpr int32_t kSpeedStep = 5;  // speed_limit holds km/h divided by 5

void write_speed(TrainPhase& phase, RouteCell& cell) {
  const int32_t limit = round_half_even(static_cast<double>(phase.speed.last) / kSpeedStep);
  if (limit < 0 || limit > 255) {
    phase.failure_site = phase.speed.last_site;
    throw RuntimeFailure("the speed limit " + std::to_string(phase.speed.last) +
                         " km/h does not fit its byte once divided by 5 (0 to 1277 km/h)");
  }
  cell.speed_limit = static_cast<uint8_t>(limit);
}

void write_adhesion(TrainPhase& phase, RouteCell& cell) {
  cell.adhesion = static_cast<uint8_t>(phase.adhesion.last);
}

using ProfileWriter = void (*)(TrainPhase&, RouteCell&);

// The cells up to the record's own cell n get the previous record's value. At
// least one cell is written, but never beyond last_cell.
void fill_profile(TrainPhase& phase, Profile& profile, ProfileWriter write, int32_t n) {
  do {
    if (profile.fill >= phase.model.last_cell) break;
    write(phase, route_cell(phase.model, profile.fill));
    ++profile.fill;
  } while (profile.fill < n);
}

// At the end the latest value runs on to the third-last cell, again at least
// one cell.
void complete_profile(TrainPhase& phase, Profile& profile, ProfileWriter write) {
  do {
    write(phase, route_cell(phase.model, profile.fill));
    ++profile.fill;
  } while (profile.fill < phase.model.last_cell - 2);
}

RecordEnd read_profile(TrainPhase& phase, Profile& profile, ProfileWriter write) {
  const int32_t p = phase.values->read_number();
  const int32_t value = phase.values->read_number();
  if (!phase.inside_route(p, kRecordMargin)) {
    return phase.beyond_route(p, kRecordMargin);
  }
  const int32_t n = round_half_even(static_cast<double>(p) / kCellLength);
  if (n > 0) fill_profile(phase, profile, write, n);
  profile.last = value;
  profile.last_site = phase.key_site;
  return RecordEnd::kGoOn;
}

RecordEnd read_speed(TrainPhase& phase) { return read_profile(phase, phase.speed, write_speed); }

RecordEnd read_adhesion(TrainPhase& phase) {
  return read_profile(phase, phase.adhesion, write_adhesion);
}

RecordEnd read_braked_mass(TrainPhase& phase) {
  phase.model.item_table[kGeneralData].num_1 = phase.values->read_number();
  return RecordEnd::kGoOn;
}

RecordEnd read_coaches(TrainPhase& phase) {
  phase.model.item_table[kGeneralData].num_3 = phase.values->read_number();
  return RecordEnd::kGoOn;
}

RecordEnd read_clock(TrainPhase& phase) {
  ItemRecord& train = phase.model.item_table[kTrainIdentity];
  train.small_3 = phase.values->read_i16();
  train.small_4 = phase.values->read_i16();
  train.small_5 = phase.values->read_i16();
  return RecordEnd::kGoOn;
}

RecordEnd read_sand(TrainPhase& phase) {
  phase.model.item_table[kTrainIdentity].small_1 = phase.values->read_i16();
  return RecordEnd::kGoOn;
}

// After a placement the parse ends on any code, even one the line phase left:
// the code then stays the line's, with this record's position.
RecordEnd after_placement(TrainPhase& phase, int32_t position, int32_t code_before) {
  if (phase.model.error_code <= 0) return RecordEnd::kGoOn;
  phase.record_position(position);
  if (phase.model.error_code != code_before) phase.point_code_at(0);
  return RecordEnd::kReturn;
}

// A slowdown refused for an occupied cell says which of its cells, and what
// is in it.
void explain_slowdown_clash(ScenarioModel& model, int32_t x, int32_t l) {
  switch (model.error_code) {
    case kWarningCellBusy:
      explain_occupied_cell(model, "the slowdown's warning board", warning_board_cell(x));
      break;
    case kStartCellBusy:
      explain_occupied_cell(model, "the slowdown's start", cell_of_position(x));
      break;
    case kEndCellBusy:
      explain_occupied_cell(model, "the slowdown's end", cell_of_position(checked::add(x, l)));
      break;
    case kNumberedMarkBusy:
      explain_numbered_marks(model, x);
      break;
    default:
      break;
  }
}

RecordEnd read_signal(TrainPhase& phase) {
  int32_t v[11];
  for (int32_t& field : v) field = phase.values->read_number();
  const int32_t posizione = v[0];
  if (!phase.inside_route(posizione, kRecordMargin)) {
    return phase.beyond_route(posizione, kRecordMargin);
  }
  const int32_t code_before = phase.model.error_code;
  memo_segnale(phase.model, posizione, v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
  if (phase.model.error_code != code_before) {
    forget_error_words(phase.model);
    if (phase.model.error_code == kSignalCellBusy) {
      explain_occupied_cell(phase.model, "the signal's", cell_of_position(posizione));
    }
  }
  return after_placement(phase, posizione, code_before);
}

RecordEnd read_slowdown(TrainPhase& phase) {
  int32_t v[6];
  for (int32_t& field : v) field = phase.values->read_number();
  const int32_t x = v[0];
  if (!phase.inside_route(x, kRecordMargin)) {
    return phase.beyond_route(x, kRecordMargin);
  }
  const int32_t code_before = phase.model.error_code;
  memo_rallentamento(phase.model, x, v[1], v[2], v[3], v[4], v[5]);
  if (phase.model.error_code != code_before) {
    forget_error_words(phase.model);
    explain_slowdown_clash(phase.model, x, v[2]);
  }
  return after_placement(phase, x, code_before);
}

RecordEnd read_abbattimento(TrainPhase& phase) {
  const int32_t p = phase.values->read_number();
  const int32_t n = phase.values->read_number();
  if (!phase.inside_route(p, kRecordMargin)) {
    return phase.beyond_route(p, kRecordMargin);
  }
  // An abbattimento stands in the cell that begins at its position, not in
  // the cell of a point feature.
  const int32_t c = round_half_even(static_cast<double>(p) / kCellLength);
  if (c < 0) {
    phase.record_at(kOutsideRouteCells, p);
    return RecordEnd::kReturn;
  }
  RouteCell& cell = route_cell(phase.model, c);
  if (!is_free(cell)) {
    phase.record_at(kAbbattimentoCellBusy, p);
    explain_occupied_cell(phase.model, "the abbattimento mark's", c);
    return RecordEnd::kReturn;
  }
  if (n < INT16_MIN || n > INT16_MAX) {
    throw RuntimeFailure(std::to_string(n) +
                         " does not fit field 2 (value) of `abbattimento` "
                         "(-32768 to 32767)");
  }
  if (n > 0) {
    cell.kind = kAbbattimentoValueCell;
    cell.value_1 = static_cast<int16_t>(n);
  } else {
    cell.kind = kAbbattimentoCell;
  }
  note_placed(phase.model, c);
  return RecordEnd::kGoOn;
}

RecordEnd read_record(TrainPhase& phase, RecordKind kind) {
  switch (kind) {
    case RecordKind::kBrakedMass:
      return read_braked_mass(phase);
    case RecordKind::kCoaches:
      return read_coaches(phase);
    case RecordKind::kSpeedLimit:
      return read_speed(phase);
    case RecordKind::kAdhesion:
      return read_adhesion(phase);
    case RecordKind::kClock:
      return read_clock(phase);
    case RecordKind::kSand:
      return read_sand(phase);
    case RecordKind::kSignal:
      return read_signal(phase);
    case RecordKind::kSlowdown:
      return read_slowdown(phase);
    case RecordKind::kAbbattimento:
      return read_abbattimento(phase);
    case RecordKind::kStation:
      return read_station(phase);
    default:
      return RecordEnd::kGoOn;
  }
}

// The placement of the train's records: handles the records the walk reads,
// and follows its key fields for the sites of problems and failures.
class TrainPlacement final : public RecordHandler, public ParseListener {
 public:
  explicit TrainPlacement(TrainPhase& phase) : phase_(phase) {}

  void record_begins(const RecordRule&, FieldSite key_site) override {
    phase_.value_sites.clear();
    phase_.model.cell_origins.begin_record(Description::kTrain, key_site);
  }
  void value_read(const RecordRule&, const ValueRead& value) override {
    phase_.value_sites.push_back(value.site);
    if (value.index == 0) phase_.model.cell_origins.record_position(value.number);
  }

  void key_field(const KeyFieldRead& key) override {
    if (key.role == KeyRole::kHeadingSearch) return;
    phase_.key_site = phase_.failure_site = key.site;
  }

  WalkStep record(const RecordRule& rule, RecordValues& values) override {
    phase_.values = &values;
    switch (read_record(phase_, rule.kind)) {
      case RecordEnd::kGoOn:
        return WalkStep::kGoOn;
      case RecordEnd::kEndSteps:
        return WalkStep::kEndRecords;
      case RecordEnd::kReturn:
        break;
    }
    return WalkStep::kStop;
  }

 private:
  TrainPhase& phase_;
};

void end_steps(TrainPhase& phase) {
  complete_profile(phase, phase.speed, write_speed);
  complete_profile(phase, phase.adhesion, write_adhesion);
  // The progressives must fall on cell boundaries; the problem lies in the
  // line description, at a record this phase cannot point to.
  ScenarioModel& model = phase.model;
  for (int slot : {kProgressiveTre, kProgressiveDue, kProgressiveUno}) {
    const ItemRecord& progressive = model.item_table[slot];
    if (progressive.num_1 % kCellLength != 0 || progressive.num_2 % kCellLength != 0) {
      model.error_code = kProgressiveNotOnCell;
      forget_error_words(model);
      model.error_site = model.code_site = ErrorSite{Description::kLine, 0, 0};
    }
  }
}

}  // namespace

void TrainPhase::record_code(int32_t code) {
  model.error_code = code;
  forget_error_words(model);
  model.error_site = model.code_site =
      ErrorSite{Description::kTrain, key_site.line, key_site.column};
}

void TrainPhase::record_position(int32_t position) {
  model.error_position = position;
  model.error_site = ErrorSite{Description::kTrain, key_site.line, key_site.column};
}

void TrainPhase::point_code_at(size_t field) {
  const FieldSite site = field < value_sites.size() ? value_sites[field] : key_site;
  model.code_site = ErrorSite{Description::kTrain, site.line, site.column};
}

void TrainPhase::record_at(int32_t code, int32_t position, size_t field) {
  record_code(code);
  record_position(position);
  point_code_at(field);
}

RecordEnd TrainPhase::beyond_route(int32_t p, int32_t margin) {
  record_at(kPositionBeyondRoute, p);
  explain_beyond_route(model, p, margin);
  return RecordEnd::kEndSteps;
}

bool TrainPhase::inside_route(int32_t p, int32_t margin) const {
  const int32_t last_cell = require_last_cell(model);
  return int64_t{checked::add(p, margin)} <= int64_t{kCellLength} * last_cell;
}

void read_train_description(ScenarioModel& model, DescriptionSource& source, int32_t sign_slot,
                            std::span<ParseListener* const> listeners) {
  const std::optional<std::string_view> text = source.read_train();
  if (!text) {
    model.error_site = ErrorSite{Description::kTrain, 0, 0};
    throw RuntimeFailure("the train description cannot be opened");
  }
  // Stations never reach past the indication signs' first entry.
  TrainPhase phase{model, std::min(sign_slot, kFirstSignSlot)};
  TrainPlacement placement(phase);
  DescriptionWalk walk(*text);
  walk.listen(placement);
  for (ParseListener* listener : listeners) walk.listen(*listener);
  try {
    const WalkEnd end = walk.walk_train(placement);
    source.discard_train();
    if (end == WalkEnd::kCompleted) end_steps(phase);
  } catch (const RuntimeFailure&) {
    model.error_site =
        ErrorSite{Description::kTrain, phase.failure_site.line, phase.failure_site.column};
    throw;
  }
}

}  // namespace tracciato
