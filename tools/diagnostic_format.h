// Messages for people about a place in a description, in the compiler
// convention: "file:line:col: what is wrong", then the offending line and a
// caret under the field.
//
// Descriptions are single-byte Windows-1252 text and the field reader counts
// columns in bytes, so the offending line is shown one character per byte
// (converted to UTF-8 for the terminal) and the caret lands under the byte
// the column names.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/diagnostics.h"

namespace tracciato {

// The line starts of a text, found once, so that any number of messages find
// their lines without reading the text again.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text);
  // Line `line` (1-based) without its line end; nullopt past the last line.
  std::optional<std::string_view> line(int32_t line) const;

 private:
  std::string_view text_;
  std::vector<size_t> starts_;
};

// The longest excerpt of a source line a message shows; a longer line is cut
// around the caret.
inline constexpr size_t kLongestExcerpt = 200;

// Where a message points. `line` and `column` are 1-based; 0 means unknown.
struct DiagnosticPlace {
  std::string file;  // how the author named the description
  int32_t line = 0;
  int32_t column = 0;
};

// Line `line` (1-based) of `text` without its line end, or nullopt when the
// text has fewer lines. A line ends at CR LF, a lone CR or a lone LF, as the
// field reader has it.
std::optional<std::string_view> source_line(std::string_view text, int32_t line);

// The line as a terminal should show it: Windows-1252 converted to UTF-8,
// tabs kept, every other control byte and every byte the code page leaves
// undefined shown as '?'. Each byte of the line stays one character.
std::string displayable_line(std::string_view line);

// Blanks up to `column`, then '^': tabs where the line has tabs, so the caret
// stays under the field whatever the tab width. nullopt when the column lies
// beyond the end of the line plus one.
std::optional<std::string> caret_line(std::string_view line, int32_t column);

// The whole message: "file:line:col: headline", then, when the line is known
// and exists in `source_text`, the line and (when the column is known) the
// caret. A part that is unknown is left out of the location ("file: headline"
// when neither line nor column is known). Every line ends with a newline.
std::string format_diagnostic(const DiagnosticPlace& place, std::string_view headline,
                              std::string_view source_text);
// The same with the text's lines already indexed; nullptr when there is no
// text to show.
std::string format_diagnostic(const DiagnosticPlace& place, std::string_view headline,
                              const LineIndex* lines);

// The two descriptions a diagnostic can point into, as the author named them.
struct DiagnosticSources {
  std::string line_file;
  std::string train_file;
  const LineIndex* line_lines = nullptr;
  const LineIndex* train_lines = nullptr;
};

// The one text renderer: "FILE:LINE:COL: error: N at P m: sentence" (or
// "warning: …"), the line and its caret, then each note in the same form.
// With `colour`, the severity words carry a terminal's colour sequences.
std::string render_diagnostic(const Diagnostic& diagnostic, const DiagnosticSources& sources,
                              bool colour = false);

// The one JSON renderer: {severity, code, file, line, column, position,
// message, notes: [{file, line, column, message}]}; unknowns are null.
nlohmann::ordered_json diagnostic_json(const Diagnostic& diagnostic,
                                       const DiagnosticSources& sources);

// Two lists of diagnostics taken as one, in the order of the texts: line
// description, then train description, each by line and column; those of no
// description last. Equal places keep their order, `first` before `second`.
// No diagnostic is copied.
std::vector<const Diagnostic*> in_text_order(const std::vector<Diagnostic>& first,
                                             const std::vector<Diagnostic>& second);

// "1 error, 3 warnings"; "no problems" when both are 0.
std::string diagnostic_summary(const std::vector<Diagnostic>& diagnostics);
// The same for counts already made.
std::string diagnostic_summary(size_t errors, size_t warnings);

}  // namespace tracciato
