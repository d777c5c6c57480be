// The two descriptions as records: what reading the scenario files back
// gives, what the writer turns into text and what the diff compares.
//
// A record is one row of the grammar (compiler/description_grammar.h) with
// its values in the row's order. Its key is the key field as it will be
// written: it picks the row and, for a curve and the signal repetition, also
// carries part of the meaning (the curvature class and side, the code
// system). Records stand in the order the compile must read them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/description_grammar.h"

namespace tracciato {

struct DescriptionRecord {
  RecordKind kind = RecordKind::kLineLength;
  std::string key;
  // One per value of the row, in order; a text value holds 0 here.
  std::vector<int32_t> numbers;
  std::string text;  // the row's text value, when it has one
  // The compile that made the files refused this record and stopped
  // reading there; the descriptions must stop at it too.
  bool stops_reading = false;
  // For a record the reading failed inside: the value written as a word
  // that is no number, so the reading fails there again (the values before
  // it stored what they store; none after it is written). -1: none.
  int32_t unreadable_value = -1;

  friend bool operator==(const DescriptionRecord&, const DescriptionRecord&) = default;
};

// Where the reading of the descriptions ended in the compile that made the
// files. Anything short of kComplete is a compile that recorded a problem
// and was written anyway (the install package always writes).
enum class ReadingEnd {
  kComplete,    // both descriptions read to their end (or to a record beyond the route)
  kInTrain,     // the train description stopped at a record
  kInFeatures,  // the line's feature part stopped; the train was never read
  kInGeneral,   // the line's general section stopped; no feature and no train
};

// "complete", "in the train description", …
std::string_view reading_end_words(ReadingEnd end);

struct DescriptionSet {
  std::vector<DescriptionRecord> line_general;
  std::vector<DescriptionRecord> line_features;
  std::vector<DescriptionRecord> train;
  ReadingEnd end = ReadingEnd::kComplete;

  // True when a record stops the reading: the compile records a problem
  // there, as the one that made the files did.
  bool stops_reading() const;
};

// The key field of a record of `kind` as the grammar table shows it, for the
// row whose first or second word is `word` when the kind has several rows
// (the progressives "uno", "due", "tre"; the backgrounds). Throws
// std::logic_error when no row fits.
std::string record_key(RecordKind kind, std::string_view word = {});

// The key of a curve of curvature k (negative: left-hand): the curve's shown
// key, "s" or "d", and the digit of the class whose curvature is |k|.
// nullopt when no class has that curvature.
std::optional<std::string> curve_key(double k);

// The key of the signal repetition for the code system `codes` (4 or 9), or,
// for 0, a key naming no system: a record the compile refuses after storing
// its distances.
std::string repetition_key(int32_t codes);

// True when `key`, tested as a key field of its part, starts exactly the rows
// of `kind` it is meant for and no other record.
bool key_starts_only(std::string_view key, RecordKind kind);

}  // namespace tracciato
