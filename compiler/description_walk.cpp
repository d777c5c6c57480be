#include "compiler/description_walk.h"

#include <stdexcept>
#include <string>

#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

// The general section ends after the record of a field that holds a heading:
// an opening and a closing bracket, and no leading dash.
bool is_section_end(std::string_view field) {
  const size_t start = field.find_first_not_of(" \t");
  if (start == std::string_view::npos) return false;
  const std::string_view rest = field.substr(start);
  return rest.front() != '-' && contains(rest, "[") && contains(rest, "]");
}

bool is_comment(std::string_view field) { return contains(field, "-"); }

}  // namespace

namespace {
std::string quoted_key(const RecordRule& rule) { return "`" + std::string(rule.shown_key) + "`"; }
}  // namespace

const ValueRule& RecordValues::expect(ValueWidth width) {
  if (next_ >= rule_.values.size() || rule_.values[next_].width != width) {
    throw std::logic_error("a record read differs from its grammar row");
  }
  // A record cut short by the end of the text is a failure of the record,
  // not of a field: say how much of it is missing.
  if (reader_.at_end()) {
    const size_t needed = rule_.values.size();
    throw RuntimeFailure("the text ends inside a " + quoted_key(rule_) + " record: it needs " +
                             std::to_string(needed) + (needed == 1 ? " value, " : " values, ") +
                             std::to_string(next_) + (next_ == 1 ? " was" : " were") + " found",
                         reader_.last_site());
  }
  return rule_.values[next_];
}

int32_t RecordValues::read_field() {
  try {
    return reader_.read_number();
  } catch (const RuntimeFailure& e) {
    throw RuntimeFailure(std::string(e.what()) + ", in field " + std::to_string(next_ + 1) + " (" +
                             std::string(rule_.values[next_].name) + ") of " + quoted_key(rule_),
                         e.site);
  }
}

void RecordValues::refuse_width(int32_t n, std::string_view range) {
  throw RuntimeFailure(std::to_string(n) + " does not fit field " + std::to_string(next_ + 1) +
                           " (" + std::string(rule_.values[next_].name) + ") of " +
                           quoted_key(rule_) + " (" + std::string(range) + ")",
                       reader_.last_site());
}

void RecordValues::report_number(int32_t n) {
  const ValueRead read{next_, n, {}, reader_.last_site(), reader_.last_length()};
  for (ParseListener* l : listeners_) l->value_read(rule_, read);
  ++next_;
}

int32_t RecordValues::read_number() {
  expect(ValueWidth::kNumber);
  const int32_t n = read_field();
  report_number(n);
  return n;
}

uint8_t RecordValues::read_u8() {
  expect(ValueWidth::kU8);
  const int32_t n = read_field();
  if (n < 0 || n > 255) refuse_width(n, "0 to 255");
  report_number(n);
  return static_cast<uint8_t>(n);
}

int16_t RecordValues::read_i16() {
  expect(ValueWidth::kI16);
  const int32_t n = read_field();
  if (n < -32768 || n > 32767) refuse_width(n, "-32768 to 32767");
  report_number(n);
  return static_cast<int16_t>(n);
}

std::string RecordValues::read_stored_text() {
  expect(ValueWidth::kText);
  std::string text = reader_.read_stored_text();
  const ValueRead read{next_, 0, text, reader_.last_site(), reader_.last_length()};
  for (ParseListener* l : listeners_) l->value_read(rule_, read);
  ++next_;
  return text;
}

void RecordValues::read_rest() {
  while (!all_read()) {
    switch (rule_.values[next_].width) {
      case ValueWidth::kNumber:
        read_number();
        break;
      case ValueWidth::kU8:
        read_u8();
        break;
      case ValueWidth::kI16:
        read_i16();
        break;
      case ValueWidth::kText:
        read_stored_text();
        break;
    }
  }
}

std::string DescriptionWalk::read_key(GrammarPart part, KeyRole role) {
  std::string key = reader_.read_text();
  if (role == KeyRole::kHeadingSearch) report(key, part, role);
  return key;
}

void DescriptionWalk::report(std::string_view text, GrammarPart part, KeyRole role,
                             bool comment_as_key) {
  const KeyFieldRead read{text, reader_.last_site(), reader_.last_length(), part,
                          role, comment_as_key};
  for (ParseListener* l : listeners_) l->key_field(read);
}

WalkStep DescriptionWalk::run_rows(GrammarPart part, std::string_view key, RecordHandler& handler,
                                   WalkOptions options) {
  const FieldSite key_site = reader_.last_site();
  // Every row runs, in table order, whether or not an earlier one matched.
  for (const RecordRule& rule : grammar_records(part)) {
    if (rule.needs_track && !options.curves) continue;
    if (!key_matches(rule, key)) continue;
    for (ParseListener* l : listeners_) l->record_begins(rule, key_site);
    RecordValues values(reader_, rule, listeners_);
    const WalkStep step = handler.record(rule, values);
    if (step != WalkStep::kGoOn) return step;
    values.read_rest();
  }
  return WalkStep::kGoOn;
}

bool DescriptionWalk::find_heading(GrammarPart part, bool end_test_first) {
  // The line's search reads before it tests for the end, so an empty line
  // description fails to read; the train's search tests first.
  for (;;) {
    if (end_test_first && reader_.at_end()) return false;
    const std::string field = read_key(part, KeyRole::kHeadingSearch);
    if (!end_test_first && reader_.at_end()) return false;
    if (contains_any_case(field, "[generale]")) {
      for (ParseListener* l : listeners_) l->general_heading(reader_.last_site());
      return true;
    }
  }
}

WalkEnd DescriptionWalk::walk_line(RecordHandler& handler, WalkOptions options) {
  if (!find_heading(GrammarPart::kLineGeneral, false)) return WalkEnd::kNoHeading;

  constexpr GrammarPart kGeneral = GrammarPart::kLineGeneral;
  while (!reader_.at_end()) {
    std::string key = read_key(kGeneral, KeyRole::kKey);
    if (reader_.at_end()) {
      report(key, kGeneral, KeyRole::kUnexamined);
      break;
    }
    // No end test between these reads: running out of fields here fails.
    for (int i = 0; i < kGeneralCommentFields; ++i) {
      if (!is_comment(key)) continue;
      report(key, kGeneral, KeyRole::kComment);
      key = read_key(kGeneral, KeyRole::kKey);
    }
    report(key, kGeneral, KeyRole::kKey, is_comment(key));
    const WalkStep step = run_rows(kGeneral, key, handler, options);
    if (step == WalkStep::kStop) return WalkEnd::kStopped;
    if (step == WalkStep::kEndRecords) return WalkEnd::kCompleted;
    if (is_section_end(key)) break;
  }
  for (ParseListener* l : listeners_) l->general_section_ends(reader_.last_site());
  handler.features_begin();
  return walk_records(GrammarPart::kLineFeatures, handler, options);
}

WalkEnd DescriptionWalk::walk_train(RecordHandler& handler) {
  find_heading(GrammarPart::kTrain, true);
  return walk_records(GrammarPart::kTrain, handler, {});
}

// The line's features and the train's records are read alike: a key field,
// up to kCommentFields comments before the key itself, then its record. A
// key field whose read reaches the end of the text is never examined, so a
// description ends with a field that carries nothing.
WalkEnd DescriptionWalk::walk_records(GrammarPart part, RecordHandler& handler,
                                      WalkOptions options) {
  while (!reader_.at_end()) {
    std::string key = read_key(part, KeyRole::kKey);
    if (reader_.at_end()) {
      report(key, part, KeyRole::kUnexamined);
      break;
    }
    for (int i = 0; i < kCommentFields && is_comment(key); ++i) {
      report(key, part, KeyRole::kComment);
      key = read_key(part, KeyRole::kKey);
      if (reader_.at_end()) {
        report(key, part, KeyRole::kUnexamined);
        return WalkEnd::kCompleted;
      }
    }
    report(key, part, KeyRole::kKey, is_comment(key));
    const WalkStep step = run_rows(part, key, handler, options);
    if (step == WalkStep::kStop) return WalkEnd::kStopped;
    if (step == WalkStep::kEndRecords) return WalkEnd::kCompleted;
  }
  return WalkEnd::kCompleted;
}

}  // namespace tracciato
