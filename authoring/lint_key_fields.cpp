// Key fields that start no record, or more than one, or a comment that is
// read as a key: each silently changes which records the compiler sees.
#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <utility>

#include "authoring/key_field_check.h"
#include "authoring/key_suggestion.h"
#include "authoring/lint.h"
#include "compiler/description_grammar.h"

namespace tracciato {
namespace {

// An author counts uno, due, tre; the parser tests the progressives the
// other way round. Among equally near keys the first is suggested, so the
// keys are listed in the author's order.
int numeral_rank(const RecordRule& rule) {
  for (std::string_view word : {rule.word_1, rule.word_2}) {
    if (word == "uno") return 1;
    if (word == "due") return 2;
    if (word == "tre") return 3;
  }
  return 0;
}

// The keys of a part, taken from the grammar table the parser reads.
std::vector<KnownKey> keys_from_grammar(GrammarPart part) {
  const std::span<const RecordRule> table = grammar_records(part);
  // Rows of one kind stand together in the table; only their order changes.
  const auto first_of_kind = [&](RecordKind kind) {
    return std::find_if(table.begin(), table.end(),
                        [&](const RecordRule& r) { return r.kind == kind; }) -
           table.begin();
  };
  std::vector<const RecordRule*> rows;
  for (const RecordRule& rule : table) rows.push_back(&rule);
  std::stable_sort(rows.begin(), rows.end(), [&](const RecordRule* a, const RecordRule* b) {
    const auto ka = first_of_kind(a->kind);
    const auto kb = first_of_kind(b->kind);
    if (ka != kb) return ka < kb;
    return numeral_rank(*a) < numeral_rank(*b);
  });
  std::vector<KnownKey> keys;
  for (const RecordRule* rule : rows) {
    KnownKey key{rule->shown_key, {rule->word_1}};
    if (!rule->word_2.empty()) key.words.push_back(rule->word_2);
    keys.push_back(std::move(key));
  }
  return keys;
}

const std::vector<KnownKey>& general_keys() {
  static const std::vector<KnownKey> keys = keys_from_grammar(GrammarPart::kLineGeneral);
  return keys;
}

const std::vector<KnownKey>& feature_keys() {
  static const std::vector<KnownKey> keys = keys_from_grammar(GrammarPart::kLineFeatures);
  return keys;
}

const std::vector<KnownKey>& train_keys() {
  static const std::vector<KnownKey> keys = keys_from_grammar(GrammarPart::kTrain);
  return keys;
}

const std::vector<KnownKey>& keys_of(KeySection section) {
  switch (section) {
    case KeySection::kGeneral:
      return general_keys();
    case KeySection::kFeatures:
      return feature_keys();
    case KeySection::kTrain:
      break;
  }
  return train_keys();
}

bool is_number(std::string_view field) {
  size_t i = (!field.empty() && (field[0] == '-' || field[0] == '+')) ? 1 : 0;
  if (i == field.size()) return false;
  for (; i < field.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(field[i]))) return false;
  }
  return true;
}

// A field as a message quotes it; a field that ran on (an unclosed double
// quote takes the rest of the text) is cut short.
std::string quoted(std::string_view s) {
  constexpr size_t kLongest = 60;
  if (s.size() <= kLongest) return "'" + std::string(s) + "'";
  return "'" + std::string(s.substr(0, kLongest)) + "...'";
}

// The same key in the other part of the line description, where it would
// have been read.
std::optional<std::string> misplaced_key_hint(const KeyField& key) {
  if (key.section == KeySection::kTrain) return std::nullopt;
  const bool in_general = key.section == KeySection::kGeneral;
  const auto other = nearest_key(key.text, in_general ? feature_keys() : general_keys());
  if (!other || other->distance != 0) return std::nullopt;
  return in_general
             ? quoted(other->shown) +
                   " is a feature key, read only after the general section ends at its first "
                   "heading"
             : quoted(other->shown) + " is read only in the general section, which has ended";
}

KeyFieldCheck::UnknownKey unknown_key(const KeyField& key) {
  std::string message = "key field " + quoted(key.text) + " matches no key and starts no record";
  if (const auto hint = misplaced_key_hint(key)) return {message + "; " + *hint, {}};
  const auto near = nearest_key(key.text, keys_of(key.section));
  if (!near) return {message, {}};
  message += "; did you mean " + quoted(near->shown) + "?";
  if (near->distance == 0) message += " (this key is matched in exact letter case)";
  return {message, near->shown};
}

std::string names_of(const std::vector<RecordKind>& kinds) {
  std::string names;
  for (RecordKind kind : kinds)
    names += (names.empty() ? "" : ", ") + std::string(record_name(kind));
  return names;
}

}  // namespace

bool is_filler(std::string_view field) {
  const size_t start = field.find_first_not_of(" \t");
  if (start == std::string_view::npos) return true;
  return field[start] == '[' && field.back() == ']';
}

void KeyFieldCheck::finish(bool general_heading_found) {
  if (description_ == Description::kTrain && !general_heading_found) {
    warn({},
         "no '[generale]' field: the compiler skips everything up to one, so it reads no record "
         "of this description");
  }
}

void KeyFieldCheck::warn(FieldSite site, SharedText message, std::optional<TextFix> fix) {
  warnings_.push_back({description_, site, std::move(message), std::move(fix)});
}

void KeyFieldCheck::key_field(const KeyField& key) {
  const bool same_line = key.line_before == key.site.line;
  const int32_t record_end_line = std::exchange(record_end_line_, 0);
  if (key.comment) {
    // The fields after a comment on its line are the comment's.
    silenced_line_ = key.site.line;
    return;
  }
  if (!key.started.empty()) {
    silenced_line_ = 0;
    last_record_ = key.started.back();
    record_end_line_ = key.records_end_line;
    if (key.started.size() > 1) {
      warn(key.site, "key field " + quoted(key.text) + " contains the keys of " +
                         std::to_string(key.started.size()) + " records (" + names_of(key.started) +
                         "): each reads its own values in turn");
    }
    if (key.comment_read_as_key) {
      warn(key.site, "key field " + quoted(key.text) + " holds a dash but is read as a key: only " +
                         std::string(key.section == KeySection::kGeneral ? "10" : "2") +
                         " comment fields in a row are skipped");
    }
    return;
  }
  // Fields that follow an unread field on its line were reported with it.
  if (same_line && silenced_line_ == key.site.line) return;
  if (is_filler(key.text) || key.comment_read_as_key) return;
  silenced_line_ = key.site.line;
  const bool after_values = same_line && record_end_line == key.site.line;
  if (is_number(key.text) || after_values) {
    std::string message = quoted(key.text) + " stands where a key field is expected";
    message += after_values ? ": the " + std::string(record_name(*last_record_)) +
                                  " record before it reads fewer values than its line holds, so "
                                  "the rest are skipped as key fields"
                            : " and starts no record";
    warn(key.site, message);
    return;
  }
  const UnknownKey& unknown = unknown_key_once(key);
  std::optional<TextFix> fix;
  // The suggested key replaces the field as written; a quoted field is
  // left to the author, whose quotes may mean something.
  if (!unknown.suggestion.empty() && key.length == static_cast<int32_t>(key.text.size())) {
    fix = TextFix{key.site, key.length, std::string(unknown.suggestion)};
  }
  warn(key.site, unknown.message, std::move(fix));
}

// A mistyped key tends to be copied along with its record: its words are
// worked out once per text and section.
const KeyFieldCheck::UnknownKey& KeyFieldCheck::unknown_key_once(const KeyField& key) {
  auto& known = unknown_messages_[static_cast<size_t>(key.section)];
  auto found = known.find(key.text);
  if (found == known.end()) found = known.emplace(key.text, unknown_key(key)).first;
  return found->second;
}

}  // namespace tracciato
