// A whole lint run over an author's two descriptions: every warning the
// analysis finds through the whole text, then the compile's own verdict, as
// the author sees them and as JSON. Nothing is written to disk.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "compiler/diagnostics.h"
#include "tools/author_compile.h"
#include "tools/compile_report.h"
#include "tools/scenario_names.h"

namespace tracciato {

struct LintResult {
  std::vector<Diagnostic> warnings;
  AuthorCompileResult compile;  // `written` stays empty: lint writes nothing
};

// Scans and checks both descriptions, then compiles them in memory under the
// given names (Windows-1252; they only reach the item table and the
// competition codes). With `check_encoding`, a description that reads as
// UTF-8 is warned about.
LintResult lint_scenario(const AuthorDescriptions& descriptions, const std::string& line_name,
                         const std::string& train_number, bool check_encoding = true);

// The compile half of lint_scenario: both descriptions compiled in memory as
// the install package compiles them. The model goes to `keep` when given
// (the language server answers from it), and is let go otherwise.
AuthorCompileResult compile_for_analysis(const AuthorDescriptions& descriptions,
                                         const std::string& line_name,
                                         const std::string& train_number,
                                         std::unique_ptr<ScenarioModel>* keep = nullptr);

// The warnings as "FILE:LINE:COL: warning: …" with the offending line and a
// caret, then the compile problem as an error in the same form, then the
// summary line; empty when there is nothing to say.
std::string lint_messages(const AuthorDescriptions& descriptions, const LintResult& result,
                          bool colour = false);

// One JSON object: {"warnings": [diagnostics, see diagnostic_json], "compile":
// the object `tracciato compile --json` prints, "status": the exit status}.
std::string lint_report_json(const AuthorDescriptions& descriptions, const LintResult& result,
                             bool strict = false);
// The same object, handed to `out` piece by piece.
void write_lint_report_json(const AuthorDescriptions& descriptions, const LintResult& result,
                            bool strict, const TextSink& out);

// The status of every command (tools/exit_status.h): 1 for a compile
// problem or stop, or for a warning when `strict`; 0 otherwise.
int lint_exit_status(const LintResult& result, bool strict = false);

}  // namespace tracciato
