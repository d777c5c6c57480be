#include "authoring/description_records.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

#include "compiler/track_polyline.h"

namespace tracciato {
namespace {

GrammarPart part_of(RecordKind kind) { return record_rule(kind).part; }

}  // namespace

std::string_view reading_end_words(ReadingEnd end) {
  switch (end) {
    case ReadingEnd::kComplete:
      return "read to the end";
    case ReadingEnd::kInTrain:
      return "stopped inside the train description";
    case ReadingEnd::kInFeatures:
      return "stopped inside the line's features, before the train description";
    case ReadingEnd::kInGeneral:
      return "stopped inside the line's general section";
  }
  return "";
}

bool DescriptionSet::stops_reading() const {
  for (const auto* part : {&line_general, &line_features, &train}) {
    for (const DescriptionRecord& record : *part) {
      if (record.stops_reading) return true;
    }
  }
  return false;
}

std::string record_key(RecordKind kind, std::string_view word) {
  for (const RecordRule& rule : grammar_records(part_of(kind))) {
    if (rule.kind != kind) continue;
    if (word.empty() || rule.word_1 == word || rule.word_2 == word)
      return std::string(rule.shown_key);
  }
  throw std::logic_error("no grammar row for the key asked for");
}

std::optional<std::string> curve_key(double k) {
  const std::string shown = record_key(RecordKind::kCurve);
  // curvature_of confirms that the key reads back as k: a shown key holding
  // an "s" would turn every curve left.
  for (const CurvatureClass& c : curvature_classes()) {
    if (c.k != std::fabs(k)) continue;
    std::string key = shown + (k < 0 ? "s" : "d") + c.digit;
    if (curvature_of(key) == k) return key;
  }
  return std::nullopt;
}

std::string repetition_key(int32_t codes) {
  std::string key = record_key(RecordKind::kSignalRepetition);
  const size_t digit = key.find_first_of("0123456789");
  if (digit == std::string::npos) throw std::logic_error("the repetition key shows no system");
  if (codes == 0) {
    key.erase(digit > 0 && key[digit - 1] == ' ' ? digit - 1 : digit, digit > 0 ? 2 : 1);
  } else {
    key.replace(digit, 1, std::to_string(codes));
  }
  return key;
}

bool key_starts_only(std::string_view key, RecordKind kind) {
  bool starts_it = false;
  for (const RecordRule& rule : grammar_records(part_of(kind))) {
    if (!key_matches(rule, key)) continue;
    if (rule.kind != kind) return false;
    starts_it = true;
  }
  // A key holding a dash would be passed over as a comment.
  return starts_it && key.find('-') == std::string_view::npos;
}

}  // namespace tracciato
