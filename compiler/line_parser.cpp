#include "compiler/line_parser.h"

#include <string>
#include <string_view>
#include <utility>

#include "compiler/checked_int.h"
#include "compiler/field_reader.h"
#include "compiler/line_features.h"
#include "compiler/route_access.h"
#include "compiler/track_polyline.h"

namespace tracciato {
namespace {

constexpr int32_t kBadLineLength = 1;
constexpr int32_t kFirstRepetitionNotMultiple = 3;
constexpr int32_t kSecondRepetitionNotMultiple = 4;
constexpr int32_t kNoRepetitionSystem = 5;
constexpr int32_t kSignCellBusy = 6;
constexpr int32_t kBeyondRoute = 15;
constexpr int32_t kOutsideRouteCells = 26;
constexpr int32_t kNoSignSlot = 29;
constexpr int32_t kNoLineDescription = 101;
constexpr int32_t kNoGeneralSection = 102;
constexpr int32_t kBadCurve = 103;
constexpr int32_t kCurveBeyondTrack = 104;

// Comment fields (any field with a dash) skipped in a row before a key.
constexpr int kGeneralDashFields = 10;
constexpr int kFeatureDashFields = 2;

constexpr int32_t kRepetitionStep = 50;  // metres
constexpr int32_t kFourCodeSystem = 4;
constexpr int32_t kNineCodeSystem = 9;
constexpr int32_t kFeatureMargin = 100;   // metres of route a feature needs after it
constexpr int32_t kGradientOffset = 100;  // a cell stores its gradient plus 100
// The gradient tail leaves the last three cells at 0.
constexpr int32_t kGradientTailShort = 2;
// The track stops two rows before its end; those rows stay empty.
constexpr int32_t kTrackTailShort = 2;

// What the loop does after a record.
enum class Next {
  kGoOn,
  kEndOfLine,  // code 15: the rest of the description is skipped, E still runs
  kReturn,     // memorizza_dati returns
};

bool is_section_end(std::string_view field) {
  const size_t start = field.find_first_not_of(" \t");
  if (start == std::string_view::npos) return false;
  const std::string_view rest = field.substr(start);
  return rest.front() != '-' && contains(rest, "[") && contains(rest, "]");
}

uint8_t gradient_byte(int32_t gradient) {
  return static_cast<uint8_t>(checked::add(gradient, kGradientOffset));
}

class LineParse {
 public:
  LineParse(ScenarioModel& model, DescriptionSource& source, std::string text, ErrorSite& reading)
      : model_(model), source_(source), text_(std::move(text)), reader_(text_), reading_(reading) {}

  LinePhaseEnd run() {
    if (!find_general_section()) return {};
    if (general_section() == Next::kReturn) return {};
    between_sections();
    if (feature_part() == Next::kReturn) return {};
    end_of_line();
    return {true, sign_slot_};
  }

 private:
  std::string read_key() {
    std::string key = reader_.read_text();
    key_site_ = reader_.last_site();
    reading_ = {Description::kLine, key_site_.line, key_site_.column};
    return key;
  }

  void record(int32_t code) {
    model_.error_code = code;
    model_.error_site = {Description::kLine, key_site_.line, key_site_.column};
  }

  // Close and delete the description, record the code, end memorizza_dati.
  Next refuse(int32_t code) {
    source_.discard_line();
    record(code);
    return Next::kReturn;
  }

  Next refuse_at(int32_t code, int32_t position) {
    refuse(code);
    model_.error_position = position;
    return Next::kReturn;
  }

  bool find_general_section() {
    for (;;) {
      const std::string field = read_key();
      if (reader_.at_end()) {
        refuse(kNoGeneralSection);
        return false;
      }
      if (contains_any_case(field, "[generale]")) return true;
    }
  }

  Next general_section() {
    while (!reader_.at_end()) {
      std::string key = read_key();
      if (reader_.at_end()) break;
      // No end test between these reads: running out of fields here fails.
      for (int i = 0; i < kGeneralDashFields; ++i) {
        if (contains(key, "-")) key = read_key();
      }
      if (general_record(key) == Next::kReturn) return Next::kReturn;
      if (is_section_end(key)) break;
    }
    return Next::kGoOn;
  }

  // Every test runs, in this order, whether or not an earlier one matched.
  Next general_record(std::string_view key) {
    auto& items = model_.item_table;
    if (contains_any_case(key, "percorso") && contains_any_case(key, "lunghezza")) {
      const int32_t length = reader_.read_number();
      items[kGeneralData].num_2 = length;
      if (length < 0 || length > kMaxLineLength) return refuse(kBadLineLength);
      create_route(model_, length);
    }
    if (contains(key, "tre") && contains(key, "progressiva"))
      read_progressive(items[kProgressiveTre]);
    if (contains(key, "due") && contains(key, "progressiva"))
      read_progressive(items[kProgressiveDue]);
    if (contains(key, "uno") && contains(key, "progressiva"))
      read_progressive(items[kProgressiveUno]);
    // The backgrounds go uno, tre, due into num_1, num_2, num_3.
    if (contains(key, "sfondo") && contains(key, "uno"))
      items[kLineIdentity].num_1 = reader_.read_number();
    if (contains(key, "sfondo") && contains(key, "due"))
      items[kLineIdentity].num_3 = reader_.read_number();
    if (contains(key, "sfondo") && contains(key, "tre"))
      items[kLineIdentity].num_2 = reader_.read_number();
    if (contains(key, "segnali") && contains(key, "ripetizione")) return signal_repetition(key);
    return Next::kGoOn;
  }

  void read_progressive(ItemRecord& item) {
    item.num_1 = reader_.read_number();
    item.num_2 = reader_.read_number();
    item.num_3 = reader_.read_number();
  }

  Next signal_repetition(std::string_view key) {
    ItemRecord& item = model_.item_table[kTrainIdentity];
    item.num_1 = reader_.read_number();
    item.num_2 = reader_.read_number();
    if (item.num_1 % kRepetitionStep != 0) return refuse(kFirstRepetitionNotMultiple);
    if (item.num_2 % kRepetitionStep != 0) return refuse(kSecondRepetitionNotMultiple);
    if (contains(key, "4")) {
      item.num_3 = kFourCodeSystem;
    } else if (contains(key, "9")) {
      item.num_3 = kNineCodeSystem;
    } else {
      return refuse(kNoRepetitionSystem);
    }
    // A second distance of 0 means no repetition, whatever the key says.
    if (item.num_2 == 0) item.num_3 = 0;
    return Next::kGoOn;
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

  Next feature_part() {
    while (!reader_.at_end()) {
      std::string key = read_key();
      if (reader_.at_end()) break;
      for (int i = 0; i < kFeatureDashFields && contains(key, "-"); ++i) {
        key = read_key();
        if (reader_.at_end()) return Next::kGoOn;
      }
      const Next next = feature_record(key);
      if (next == Next::kEndOfLine) break;
      if (next == Next::kReturn) return next;
    }
    return Next::kGoOn;
  }

  // Every test runs, in this order, whether or not an earlier one matched.
  Next feature_record(std::string_view key) {
    if (contains_any_case(key, "pendenza")) {
      if (const Next next = gradient(); next != Next::kGoOn) return next;
    }
    if (contains_any_case(key, "curva") && model_.track_flag != 0) {
      if (const Next next = curve(key); next != Next::kGoOn) return next;
    }
    if (contains_any_case(key, "montagna")) {
      if (const Next next = mountain_span(); next != Next::kGoOn) return next;
    }
    if (contains_any_case(key, "indicatori_v")) {
      if (const Next next = speed_indicators(); next != Next::kGoOn) return next;
    }
    if (contains_any_case(key, "indicat") && contains_any_case(key, "cartello"))
      return indication_sign();
    return Next::kGoOn;
  }

  // A feature needs 100 m of route after it. Code 15 ends the description
  // but not the run: the gradient tail and the train still follow.
  bool beyond_route(int32_t p) {
    const int32_t last_cell = require_last_cell(model_);
    if (checked::add(p, kFeatureMargin) <= checked::mul(kCellLength, last_cell)) return false;
    record(kBeyondRoute);
    model_.error_position = p;
    return true;
  }

  // The gradient in force fills the cells up to this record's cell; the
  // new gradient takes over from there. The fill writes at least one cell.
  Next gradient() {
    const int32_t p = reader_.read_number();
    const int32_t g = reader_.read_number();
    if (beyond_route(p)) return Next::kEndOfLine;
    const int32_t n = round_half_even(p / static_cast<double>(kCellLength));
    if (n > 0) {
      do {
        if (gradient_cursor_ >= model_.last_cell) break;
        route_cell(model_, gradient_cursor_).gradient = gradient_byte(current_gradient_);
        gradient_cursor_ += 1;
      } while (gradient_cursor_ < n);
    }
    current_gradient_ = g;
    return Next::kGoOn;
  }

  Next curve(std::string_view key) {
    const int32_t s = reader_.read_number();
    const int32_t l = reader_.read_number();
    if (beyond_route(s)) return Next::kEndOfLine;
    const std::optional<double> k = curvature_of(key);
    if (!k) return refuse(kBadCurve);
    // The track's last two rows stay empty; a curve may not bend them.
    const int32_t end = checked::add(s, l);
    if (end > model_.track_length - kTrackTailShort) return refuse_at(kCurveBeyondTrack, s);
    if (!run_straight(model_, track_cursor_, s, true)) return refuse(kBadCurve);
    if (!run_curve(model_, track_cursor_, end, *k)) return refuse(kBadCurve);
    return Next::kGoOn;
  }

  Next mountain_span() {
    const int32_t start = reader_.read_number();
    const int32_t end = reader_.read_number();
    int32_t kind = reader_.read_number();
    if (beyond_route(start)) return Next::kEndOfLine;
    memo_montagna(model_, start, end, kind);
    return refused_by_placement(start);
  }

  Next speed_indicators() {
    const int32_t posizione = reader_.read_number();
    SpeedIndicators group;
    for (int32_t* v : {&group.vas, &group.vbs, &group.vcs, &group.strisces, &group.vad, &group.vbd,
                       &group.vcd, &group.strisced}) {
      *v = reader_.read_number();
    }
    if (beyond_route(posizione)) return Next::kEndOfLine;
    memo_indicatori_v_max(model_, posizione, group);
    return refused_by_placement(posizione);
  }

  // The placement procedures only set error_code; the record's position and
  // the end of the parse are ours.
  Next refused_by_placement(int32_t position) {
    if (model_.error_code <= 0) return Next::kGoOn;
    source_.discard_line();
    model_.error_position = position;
    model_.error_site = {Description::kLine, key_site_.line, key_site_.column};
    return Next::kReturn;
  }

  Next indication_sign() {
    const int32_t p = reader_.read_number();
    std::string text = reader_.read_stored_text();
    if (beyond_route(p)) return Next::kEndOfLine;
    const int32_t c = cell_of_position(p);
    if (c < 0) return refuse_at(kOutsideRouteCells, p);
    // Signs fill the item slots from 80 down; slot 0 is not an item.
    if (sign_slot_ < 1) return refuse_at(kNoSignSlot, p);
    RouteCell& cell = route_cell(model_, c);
    if (!is_free(cell)) return refuse_at(kSignCellBusy, p);
    cell.kind = kIndicationSignCell;
    cell.value_1 = static_cast<int16_t>(sign_slot_);
    model_.item_table[static_cast<size_t>(sign_slot_)].name = std::move(text);
    sign_slot_ -= 1;
    return Next::kGoOn;
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
  const std::string text_;
  FieldReader reader_;
  ErrorSite& reading_;
  FieldSite key_site_;

  int32_t gradient_cursor_ = 0;
  int32_t current_gradient_ = 0;
  int32_t track_cursor_ = kFirstComputedRow;
  int32_t sign_slot_ = kFirstSignSlot;
};

}  // namespace

LinePhaseEnd read_line_description(ScenarioModel& model, DescriptionSource& source,
                                   ErrorSite& reading) {
  model.item_table[kLineIdentity].name = model.line_name;
  model.item_table[kTrainIdentity].name = model.train_number;
  std::optional<std::string> text = source.read_line();
  if (!text) {
    model.error_code = kNoLineDescription;
    model.error_site = {Description::kLine, 0, 0};
    return {};
  }
  LineParse parse(model, source, std::move(*text), reading);
  return parse.run();
}

}  // namespace tracciato
