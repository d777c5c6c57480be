// The records of a line or train description as the compiler's parsers see
// them, for the lint checks.
//
// The scan is a listener of the parsers' own walk (compiler/description_walk.h)
// over the same grammar tables, so it sees every key field, record and value
// exactly as the compile reads them. Unlike the compile it places nothing and
// so does not stop at a compile problem: a record that the compiler would
// refuse is the compile's to report, and the records after it are still worth
// checking.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/description_grammar.h"
#include "compiler/description_walk.h"
#include "compiler/diagnostics.h"
#include "compiler/field_reader.h"
#include "compiler/scenario_model.h"

namespace tracciato {

struct ScannedValue {
  int32_t number = 0;
  FieldSite site;
};

// A record read whole; its key field is the KeyField that started it.
struct ScannedRecord {
  RecordKind kind;
  FieldSite key_site;
  std::vector<ScannedValue> numbers;  // in file order
  std::string text;                   // a sign's text or a station's name
  FieldSite text_site;
};

enum class KeySection { kGeneral, kFeatures, kTrain };

// A field read where a record may start, whether or not one did.
struct KeyField {
  std::string text;
  FieldSite site;
  int32_t length = 0;  // bytes of its line the field covers
  KeySection section = KeySection::kTrain;
  bool comment = false;  // holds a dash and was skipped
  // A field with a dash read as a key because the comment fields before it
  // used up the number skipped in a row.
  bool comment_read_as_key = false;
  std::vector<RecordKind> started;  // the records it started, in order
  // The line where the last value of those records stands, of the ones read
  // whole.
  int32_t records_end_line = 0;
  // Where the field read before it stands (0 for the first): a key field on
  // the same line as that one is not the first field of its line.
  int32_t line_before = 0;
};

// A record the compiler accepts that is probably a mistake.
struct LintWarning {
  Description description = Description::kNone;
  FieldSite site;  // line 0 when the warning is about the whole description
  SharedText message;
  std::optional<TextFix> fix;  // a "did you mean" as a replacement

  friend bool operator==(const LintWarning&, const LintWarning&) = default;
};

// A check of the records read whole, run on each as the scan reads it; it
// keeps its warnings in the order of the text (lint_positions.cpp,
// lint_values.cpp).
class RecordCheck {
 public:
  virtual ~RecordCheck() = default;
  virtual void record(const ScannedRecord& record) = 0;
  virtual std::vector<LintWarning> take_warnings() = 0;
};

// Positions off the grid or out of order; values too wide for where they
// are stored.
std::unique_ptr<RecordCheck> position_check(Description description);
std::unique_ptr<RecordCheck> value_check(Description description);

struct DescriptionScan {
  Description description = Description::kNone;
  bool general_heading_found = false;
  // Key fields and records are checked as they are read and not kept: a
  // large description holds millions.
  std::vector<LintWarning> key_field_warnings;
  std::vector<LintWarning> position_warnings;
  std::vector<LintWarning> value_warnings;
  // The records read whole, by kind.
  std::array<size_t, static_cast<size_t>(RecordKind::kStation) + 1> record_counts{};
  // A value that could not be read (the compile reports it as code 25):
  // nothing after it was scanned.
  std::optional<FieldSite> stopped_at;
};

// `also`, when given, hears the same walk as the scan: whatever needs every
// field of the text (the language server's outline of it) reads it no
// second time.
DescriptionScan scan_line_description(std::string_view text, ParseListener* also = nullptr);
DescriptionScan scan_train_description(std::string_view text, ParseListener* also = nullptr);

}  // namespace tracciato
