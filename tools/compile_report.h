// What `tracciato compile` tells the author about one compile: the messages
// for people on standard error and the JSON object for programs on standard
// output. Both say the same thing; neither changes a file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/diagnostics.h"
#include "tools/author_compile.h"
#include "tools/diagnostic_format.h"

namespace tracciato {

// The compile's recorded problem as a diagnostic (none when there is none):
// at the field of the record that caused the code, with a note at the record
// whose position the compile kept when that is another one.
std::vector<Diagnostic> compile_diagnostics(const AuthorCompileResult& result);

// Both descriptions indexed by line: the sources their diagnostics point
// into, built once for every diagnostic of a report.
class IndexedDescriptions {
 public:
  explicit IndexedDescriptions(const AuthorDescriptions& descriptions);
  // The sources point into this object's indexes.
  IndexedDescriptions(const IndexedDescriptions&) = delete;
  IndexedDescriptions& operator=(const IndexedDescriptions&) = delete;

  const DiagnosticSources& sources() const { return sources_; }

 private:
  LineIndex line_lines_;
  LineIndex train_lines_;
  DiagnosticSources sources_;
};

// The sentence that tells why a run stopped ("stop 1250: …"); "" for kNone.
std::string_view stop_sentence(CompileStop stop);

// "1250", "1251" or "no-route"; nullopt when the run did not stop.
std::optional<std::string_view> stop_name(CompileStop stop);

// The description a problem points into, as the author named it; nullopt
// when the problem's site is unknown.
std::optional<std::string> problem_file(const AuthorDescriptions& descriptions,
                                        const AuthorCompileResult& result);

// The recorded problem as "FILE:LINE:COL: error: CODE at POSITION m: MESSAGE"
// with the offending line and its caret, among the warnings given in the
// order of the texts, then a line for a stop, if any. Empty when the compile
// went through without a warning.
std::string compile_messages(const AuthorDescriptions& descriptions,
                             const AuthorCompileResult& result, bool colour = false,
                             const std::vector<Diagnostic>& warnings = {});

// Where messages go piece by piece, so that a long list is never held whole.
using TextSink = std::function<void(std::string_view)>;

// The same messages, handed to `out` one diagnostic at a time.
void write_compile_messages(const AuthorDescriptions& descriptions,
                            const AuthorCompileResult& result, bool colour,
                            const std::vector<Diagnostic>& warnings, const TextSink& out);

// One JSON object on one line: error_code, error_position, stop, file, line,
// column, message, written, diagnostics (see diagnostic_json): the warnings
// given and the compile's problem, in the order of the texts. file, line, column and message are
// null when no problem was recorded; file, line and column also when the problem's site is unknown.
std::string compile_report_json(const AuthorDescriptions& descriptions,
                                const AuthorCompileResult& result,
                                const std::vector<Diagnostic>& warnings = {});

// The same object, handed to `out` piece by piece.
void write_compile_report_json(const AuthorDescriptions& descriptions,
                               const AuthorCompileResult& result,
                               const std::vector<Diagnostic>& warnings, const TextSink& out);

// The JSON array of the diagnostics given (see diagnostic_json), in the
// order of the texts, handed to `out` one diagnostic at a time.
void write_json_diagnostics(const AuthorDescriptions& descriptions,
                            const std::vector<Diagnostic>& warnings,
                            const std::vector<Diagnostic>& problems, const TextSink& out);

// A JSON value on one line, as every report prints it.
std::string json_text(const nlohmann::ordered_json& value);

}  // namespace tracciato
