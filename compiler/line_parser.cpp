#include "compiler/line_parser.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compiler/checked_int.h"
#include "compiler/description_walk.h"
#include "compiler/field_reader.h"
#include "compiler/line_features.h"
#include "compiler/refusal_words.h"
#include "compiler/route_access.h"
#include "compiler/track_polyline.h"

namespace tracciato {
namespace {

constexpr int32_t kBadLineLength = 1;
constexpr int32_t kFirstRepetitionNotMultiple = 3;
constexpr int32_t kSecondRepetitionNotMultiple = 4;
constexpr int32_t kNoRepetitionSystem = 5;
constexpr int32_t kSignCellBusy = 6;
constexpr int32_t kIndicatorCellBusy = 21;
constexpr int32_t kBeyondRoute = 15;
constexpr int32_t kOutsideRouteCells = 26;
constexpr int32_t kNoSignSlot = 29;
constexpr int32_t kNoLineDescription = 101;
constexpr int32_t kNoGeneralSection = 102;
constexpr int32_t kBadCurve = 103;
constexpr int32_t kCurveBeyondTrack = 104;

constexpr int32_t kRepetitionStep = 50;  // metres
constexpr int32_t kFourCodeSystem = 4;
constexpr int32_t kNineCodeSystem = 9;
constexpr int32_t kFeatureMargin = 100;   // metres of route a feature needs after it
constexpr int32_t kGradientOffset = 100;  // a cell stores its gradient plus 100
// The gradient tail leaves the last three cells at 0.
constexpr int32_t kGradientTailShort = 2;
// The track stops two rows before its end; those rows stay empty.
constexpr int32_t kTrackTailShort = 2;

uint8_t gradient_byte(int32_t gradient) {
  return static_cast<uint8_t>(checked::add(gradient, kGradientOffset));
}

// The fields a problem concerns: the record's key, or one of its values.
constexpr int kKeyField = -1;
constexpr int kPositionField = 0;

// What the loop does after a record.
using Next = WalkStep;
constexpr Next kGoOn = WalkStep::kGoOn;
constexpr Next kEndOfLine = WalkStep::kEndRecords;  // code 15: the rest is skipped, E still runs
constexpr Next kReturn = WalkStep::kStop;           // memorizza_dati returns

// The placement of the line's records into the model: it handles the records
// the walk reads and listens to its key fields for the sites it reports.
class LineParse final : public RecordHandler, public ParseListener {
 public:
  LineParse(ScenarioModel& model, DescriptionSource& source, std::string_view text,
            ErrorSite& reading)
      : model_(model), source_(source), text_(text), walk_(text_), reading_(reading) {
    walk_.listen(*this);
  }

  void listen(ParseListener& listener) { walk_.listen(listener); }

  LinePhaseEnd run() {
    switch (walk_.walk_line(*this, {.curves = model_.track_flag != 0})) {
      case WalkEnd::kNoHeading:
        refuse(kNoGeneralSection);
        // The problem is the whole description, not its last field.
        model_.code_site = {Description::kLine, 0, 0};
        return {};
      case WalkEnd::kStopped:
        return {};
      case WalkEnd::kCompleted:
        break;
    }
    end_of_line();
    return {true, sign_slot_};
  }

 private:
  void record_begins(const RecordRule&, FieldSite key_site) override {
    value_sites_.clear();
    model_.cell_origins.begin_record(Description::kLine, key_site);
  }
  void value_read(const RecordRule&, const ValueRead& value) override {
    value_sites_.push_back(value.site);
    if (value.index == 0) model_.cell_origins.record_position(value.number);
  }

  void key_field(const KeyFieldRead& key) override {
    if (key.role == KeyRole::kKey) key_text_ = key.text;
    key_site_ = key.site;
    reading_ = {Description::kLine, key_site_.line, key_site_.column};
  }

  Next record(const RecordRule& rule, RecordValues& values) override {
    values_ = &values;
    switch (rule.kind) {
      case RecordKind::kLineLength:
        return line_length();
      case RecordKind::kProgressive:
        read_progressive(model_.item_table[progressive_slot(rule)]);
        return kGoOn;
      case RecordKind::kBackground:
        background(rule);
        return kGoOn;
      case RecordKind::kSignalRepetition:
        return signal_repetition(key_text_);
      case RecordKind::kGradient:
        return gradient();
      case RecordKind::kCurve:
        return curve(key_text_);
      case RecordKind::kMountainSpan:
        return mountain_span();
      case RecordKind::kSpeedIndicators:
        return speed_indicators();
      case RecordKind::kIndicationSign:
        return indication_sign();
      default:
        return kGoOn;
    }
  }

  void features_begin() override { between_sections(); }

  // The site of the record's field `field` (kKeyField: its key field).
  FieldSite field_site(int field) const {
    if (field == kKeyField || static_cast<size_t>(field) >= value_sites_.size()) return key_site_;
    return value_sites_[static_cast<size_t>(field)];
  }

  // The code, at the record's key field, and at the field concerned for
  // people.
  void record(int32_t code, int field = kPositionField) {
    model_.error_code = code;
    forget_error_words(model_);
    model_.error_site = {Description::kLine, key_site_.line, key_site_.column};
    const FieldSite site = field_site(field);
    model_.code_site = {Description::kLine, site.line, site.column};
  }

  // Close and delete the description, record the code, end memorizza_dati.
  Next refuse(int32_t code, int field = kPositionField) {
    source_.discard_line();
    record(code, field);
    return kReturn;
  }

  Next refuse_at(int32_t code, int32_t position, int field = kPositionField) {
    refuse(code, field);
    model_.error_position = position;
    return kReturn;
  }

  Next line_length() {
    const int32_t length = values_->read_number();
    model_.item_table[kGeneralData].num_2 = length;
    if (length < 0 || length > kMaxLineLength) return refuse(kBadLineLength);
    create_route(model_, length);
    return kGoOn;
  }

  static size_t progressive_slot(const RecordRule& rule) {
    if (rule.word_1 == "tre") return kProgressiveTre;
    if (rule.word_1 == "due") return kProgressiveDue;
    return kProgressiveUno;
  }

  // The backgrounds go uno, tre, due into num_1, num_2, num_3.
  void background(const RecordRule& rule) {
    ItemRecord& line = model_.item_table[kLineIdentity];
    const int32_t n = values_->read_number();
    if (rule.word_2 == "uno") line.num_1 = n;
    if (rule.word_2 == "due") line.num_3 = n;
    if (rule.word_2 == "tre") line.num_2 = n;
  }

  void read_progressive(ItemRecord& item) {
    item.num_1 = values_->read_number();
    item.num_2 = values_->read_number();
    item.num_3 = values_->read_number();
  }

  Next signal_repetition(std::string_view key) {
    ItemRecord& item = model_.item_table[kTrainIdentity];
    item.num_1 = values_->read_number();
    item.num_2 = values_->read_number();
    if (item.num_1 % kRepetitionStep != 0) return refuse(kFirstRepetitionNotMultiple);
    if (item.num_2 % kRepetitionStep != 0) return refuse(kSecondRepetitionNotMultiple, 1);
    if (contains(key, "4")) {
      item.num_3 = kFourCodeSystem;
    } else if (contains(key, "9")) {
      item.num_3 = kNineCodeSystem;
    } else {
      return refuse(kNoRepetitionSystem, kKeyField);
    }
    // A second distance of 0 means no repetition, whatever the key says.
    if (item.num_2 == 0) item.num_3 = 0;
    return kGoOn;
  }

  void between_sections() {
    progressive_ordina(model_);
    model_.span_count = 0;
    sign_slot_ = kFirstSignSlot;
    gradient_cursor_ = 0;
    current_gradient_ = 0;
    track_cursor_ = kFirstComputedRow;
    if (model_.track_flag != 0) {
      require_last_cell(model_);
      start_track(model_);
    }
  }

  // A feature needs 100 m of route after it. Code 15 ends the description
  // but not the run: the gradient tail and the train still follow.
  bool beyond_route(int32_t p) {
    const int32_t last_cell = require_last_cell(model_);
    if (checked::add(p, kFeatureMargin) <= checked::mul(kCellLength, last_cell)) return false;
    record(kBeyondRoute);
    model_.error_position = p;
    explain_beyond_route(model_, p, kFeatureMargin);
    return true;
  }

  // The gradient in force fills the cells up to this record's cell; the
  // new gradient takes over from there. The fill writes at least one cell.
  Next gradient() {
    const int32_t p = values_->read_number();
    const int32_t g = values_->read_number();
    if (beyond_route(p)) return kEndOfLine;
    const int32_t n = round_half_even(p / static_cast<double>(kCellLength));
    if (n > 0) {
      do {
        if (gradient_cursor_ >= model_.last_cell) break;
        route_cell(model_, gradient_cursor_).gradient = gradient_byte(current_gradient_);
        gradient_cursor_ += 1;
      } while (gradient_cursor_ < n);
    }
    current_gradient_ = g;
    return kGoOn;
  }

  Next curve(std::string_view key) {
    const int32_t s = values_->read_number();
    const int32_t l = values_->read_number();
    if (beyond_route(s)) return kEndOfLine;
    const std::optional<double> k = curvature_of(key);
    if (!k) {
      refuse(kBadCurve, kKeyField);
      model_.error_detail = "the key names no curvature class from 1 to 6 (as in `curva3`)";
      return kReturn;
    }
    // The track's last two rows stay empty; a curve may not bend them.
    const int32_t end = checked::add(s, l);
    if (end > model_.track_length - kTrackTailShort) return refuse_at(kCurveBeyondTrack, s, 1);
    if (!run_straight(model_, track_cursor_, s, true) ||
        !run_curve(model_, track_cursor_, end, *k)) {
      refuse(kBadCurve);
      model_.error_detail = "the track would run past 1,000,000 metres";
      return kReturn;
    }
    return kGoOn;
  }

  Next mountain_span() {
    const int32_t start = values_->read_number();
    const int32_t end = values_->read_number();
    int32_t kind = values_->read_number();
    if (beyond_route(start)) return kEndOfLine;
    memo_montagna(model_, start, end, kind);
    return refused_by_placement(start);
  }

  Next speed_indicators() {
    const int32_t posizione = values_->read_number();
    SpeedIndicators group;
    for (int32_t* v : {&group.vas, &group.vbs, &group.vcs, &group.strisces, &group.vad, &group.vbd,
                       &group.vcd, &group.strisced}) {
      *v = values_->read_number();
    }
    if (beyond_route(posizione)) return kEndOfLine;
    memo_indicatori_v_max(model_, posizione, group);
    if (model_.error_code == kIndicatorCellBusy) {
      explain_occupied_cell(model_, "the maximum-speed indicator group's",
                            cell_of_position(posizione));
    }
    return refused_by_placement(posizione);
  }

  // The placement procedures only set error_code; the record's position and
  // the end of the parse are ours.
  Next refused_by_placement(int32_t position) {
    if (model_.error_code <= 0) return kGoOn;
    source_.discard_line();
    model_.error_position = position;
    model_.error_site = {Description::kLine, key_site_.line, key_site_.column};
    const FieldSite site = field_site(kPositionField);
    model_.code_site = {Description::kLine, site.line, site.column};
    return kReturn;
  }

  Next indication_sign() {
    const int32_t p = values_->read_number();
    std::string text = values_->read_stored_text();
    if (beyond_route(p)) return kEndOfLine;
    const int32_t c = cell_of_position(p);
    if (c < 0) return refuse_at(kOutsideRouteCells, p);
    // Signs fill the item slots from 80 down; slot 0 is not an item.
    if (sign_slot_ < 1) return refuse_at(kNoSignSlot, p);
    RouteCell& cell = route_cell(model_, c);
    if (!is_free(cell)) {
      refuse_at(kSignCellBusy, p);
      explain_occupied_cell(model_, "the indication sign's", c);
      return kReturn;
    }
    cell.kind = kIndicationSignCell;
    note_placed(model_, c);
    cell.value_1 = static_cast<int16_t>(sign_slot_);
    model_.item_table[static_cast<size_t>(sign_slot_)].name = std::move(text);
    sign_slot_ -= 1;
    return kGoOn;
  }

  // After the last feature or a code 15: the gradient in force runs on to
  // the third-last cell (at least one cell), and the track straight on to
  // its third-last row.
  void end_of_line() {
    source_.discard_line();
    const int32_t stop = require_last_cell(model_) - kGradientTailShort;
    do {
      route_cell(model_, gradient_cursor_).gradient = gradient_byte(current_gradient_);
      gradient_cursor_ += 1;
    } while (gradient_cursor_ < stop);
    if (model_.track_flag != 0) {
      run_straight(model_, track_cursor_, model_.track_length - kTrackTailShort, false);
    }
  }

  ScenarioModel& model_;
  DescriptionSource& source_;
  const std::string_view text_;
  DescriptionWalk walk_;
  ErrorSite& reading_;
  FieldSite key_site_;
  std::string key_text_;
  std::vector<FieldSite> value_sites_;  // of the record at hand
  RecordValues* values_ = nullptr;      // the values of the record at hand

  int32_t gradient_cursor_ = 0;
  int32_t current_gradient_ = 0;
  int32_t track_cursor_ = kFirstComputedRow;
  int32_t sign_slot_ = kFirstSignSlot;
};

}  // namespace

LinePhaseEnd read_line_description(ScenarioModel& model, DescriptionSource& source,
                                   ErrorSite& reading, std::span<ParseListener* const> listeners) {
  model.item_table[kLineIdentity].name = model.line_name;
  model.item_table[kTrainIdentity].name = model.train_number;
  const std::optional<std::string_view> text = source.read_line();
  if (!text) {
    model.error_code = kNoLineDescription;
    model.error_site = model.code_site = {Description::kLine, 0, 0};
    return {};
  }
  LineParse parse(model, source, *text, reading);
  for (ParseListener* listener : listeners) parse.listen(*listener);
  return parse.run();
}

}  // namespace tracciato
