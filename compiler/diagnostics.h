// Diagnostics as values: what the compile and lint tell people, each with
// its severity, code, the site of the field concerned, the position in metres,
// a sentence and related notes with their own sites; and the plain sentence of
// every compile problem code. The scenario files carry only the numbers.
// One renderer prints them as text, one as JSON (tools/diagnostic_format.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/field_reader.h"
#include "compiler/scenario_model.h"

namespace tracciato {

// A sentence that any number of diagnostics may share: a mistyped key copied
// down a million lines is worded once and held once, not once per warning.
class SharedText {
 public:
  SharedText() = default;
  SharedText(std::string text)  // NOLINT: a sentence stands for its text
      : text_(std::make_shared<const std::string>(std::move(text))) {}
  SharedText(const char* text) : SharedText(std::string(text)) {}  // NOLINT

  const std::string& str() const;
  operator std::string_view() const { return str(); }  // NOLINT
  bool empty() const { return str().empty(); }

  friend bool operator==(const SharedText& a, const SharedText& b) { return a.str() == b.str(); }

 private:
  std::shared_ptr<const std::string> text_;
};

enum class Severity { kError, kWarning, kNote };

// "error", "warning", "note".
std::string_view severity_name(Severity severity);

// A replacement that mends what a diagnostic says: `length` bytes of the
// line from `site` become `replacement`, and no other byte changes (the key
// a "did you mean" suggests for a mistyped one).
struct TextFix {
  FieldSite site;
  int32_t length = 0;
  std::string replacement;
  friend bool operator==(const TextFix&, const TextFix&) = default;
};

// A related place: the record whose position was kept, the sign already in a
// cell.
struct DiagnosticNote {
  Description description = Description::kNone;
  FieldSite site;  // line 0 when unknown
  std::string message;
};

struct Diagnostic {
  Severity severity = Severity::kError;
  int32_t code = 0;  // a compile problem code; 0 for a lint warning
  Description description = Description::kNone;
  FieldSite site;                   // the field concerned; line 0 when unknown
  std::optional<int32_t> position;  // metres, for a compile problem
  SharedText message;
  std::vector<DiagnosticNote> notes;
  std::optional<TextFix> fix;
};

// One plain English sentence per code (16: "the signal's cell is already
// occupied"); a generic sentence for a code the compiler never records.
std::string_view error_message(int32_t code);

}  // namespace tracciato
