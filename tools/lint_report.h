// A whole lint run over an author's two descriptions: the warnings, then the
// compile's own verdict, as the author sees them and as JSON. Nothing is
// written to disk.
#pragma once

#include <string>
#include <vector>

#include "authoring/lint.h"
#include "tools/author_compile.h"

namespace tracciato {

// Exit statuses of `tracciato lint`.
inline constexpr int kLintClean = 0;
inline constexpr int kLintWarnings = 1;
inline constexpr int kLintError = 2;  // a compile problem or stop, or a file that cannot be read

struct LintResult {
  std::vector<LintWarning> warnings;
  AuthorCompileResult compile;  // `written` stays empty: lint writes nothing
};

// Scans and checks both descriptions, then compiles them in memory under the
// given names (they only reach the item table and the competition codes).
LintResult lint_scenario(const AuthorDescriptions& descriptions, const std::string& line_name,
                         const std::string& train_number);

// The warnings as "FILE:LINE:COL: warning: …" with the offending line and a
// caret, then the compile problem as an error in the same form.
std::string lint_messages(const AuthorDescriptions& descriptions, const LintResult& result);

// One JSON object: {"warnings": [{file, line, column, message}…], "compile":
// the object `tracciato compile --json` prints, "status": the exit status}.
std::string lint_report_json(const AuthorDescriptions& descriptions, const LintResult& result);

int lint_exit_status(const LintResult& result);

}  // namespace tracciato
