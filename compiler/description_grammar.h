// The grammar of the two descriptions, written once: every record the line
// and the train parsers recognise, as a table. A row gives the key words a key
// field must contain, whether they are matched in exact letter case or in
// any case, and the values the record reads, in file order, each with the
// width the parser reads it in. The rows stand in the order the parsers test
// them; every row whose words a key field contains starts its record, one
// after the other.
//
// The parsers (line_parser.cpp, train_parser.cpp) read through these tables
// by way of description_walk.h, and so do lint, the diagnostics and the
// authors' reference (docs/description_format.md), so none of them can read a
// description differently from the compile.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tracciato {

enum class RecordKind {
  // Line description, general section.
  kLineLength,
  kProgressive,
  kBackground,
  kSignalRepetition,
  // Line description, feature part.
  kGradient,
  kCurve,
  kMountainSpan,
  kSpeedIndicators,
  kIndicationSign,
  // Train description.
  kBrakedMass,
  kCoaches,
  kSpeedLimit,
  kAdhesion,
  kClock,
  kSand,
  kSignal,
  kSlowdown,
  kAbbattimento,
  kStation,
};

// How a value field is read: a number in 32 bits, in 8 bits (0 to 255), in
// 16 bits (-32768 to 32767), or a text stored in the item table. A number
// that does not fit its width ends the reading (code 25).
enum class ValueWidth { kNumber, kU8, kI16, kText };

enum class KeyCase { kExact, kAnyCase };

// The three parts of the descriptions, each with its own table.
enum class GrammarPart { kLineGeneral, kLineFeatures, kTrain };

struct ValueRule {
  std::string_view name;  // as the reference and the messages call it
  ValueWidth width;
  std::string_view unit;     // "m", "km/h", "" …
  std::string_view meaning;  // one phrase
};

struct RecordRule {
  RecordKind kind;
  GrammarPart part;
  std::string_view word_1;
  std::string_view word_2;  // empty when one word is enough
  KeyCase key_case;
  std::span<const ValueRule> values;
  std::string_view shown_key;  // the key as an author writes it
  std::string_view name;       // "signal", "station", …
  std::string_view places;     // what the record does to the scenario
  // Read only when the compile computes the track polyline (curves).
  bool needs_track = false;
};

// The rows of one part, in the order the parser tests them.
std::span<const RecordRule> grammar_records(GrammarPart part);

// The row of a kind.
const RecordRule& record_rule(RecordKind kind);

// "gradient", "signal", …: how a message names a record of the kind.
std::string_view record_name(RecordKind kind);

// True when the key field contains every word of the row, in the row's case.
bool key_matches(const RecordRule& rule, std::string_view field);

// Comment fields (fields holding a dash) passed over in a row before a key:
// ten in the line's general section, two elsewhere.
inline constexpr int kGeneralCommentFields = 10;
inline constexpr int kCommentFields = 2;

}  // namespace tracciato
