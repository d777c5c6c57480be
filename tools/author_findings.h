// Everything the analysis of an author's two descriptions finds, as
// diagnostics: the warnings of the lint listeners (values stored truncated,
// records a typo drops, features that lose a part), a description saved in
// UTF-8, and the compile's recorded problem or stop. compile, lint, plot and
// package all tell the author the same things in the same words.
#pragma once

#include <string>
#include <vector>

#include "authoring/description_scan.h"
#include "compiler/diagnostics.h"
#include "tools/author_compile.h"
#include "tools/compile_report.h"

namespace tracciato {

// The warnings of both descriptions, line description first, each in the
// order of its text. With `check_encoding`, a description that reads as UTF-8
// gets a warning at its first multi-byte sequence: the compile takes each of
// its bytes as one Windows-1252 character.
std::vector<Diagnostic> description_warnings(const AuthorDescriptions& descriptions,
                                             bool check_encoding);

// The same from scans already made of the two texts (each scan depends on
// its own text alone, so an unchanged description need not be read again).
std::vector<Diagnostic> scan_warnings(const AuthorDescriptions& descriptions, DescriptionScan line,
                                      DescriptionScan train, bool check_encoding);

// For standard error: the warnings and the compile's problem in the order of
// the texts, then the stop, then the summary line ("1 error, 2 warnings"); a
// stop counts as an error. Empty when there is nothing to say.
std::string findings_text(const AuthorDescriptions& descriptions,
                          const std::vector<Diagnostic>& warnings,
                          const AuthorCompileResult& compile, bool colour = false);

// The same text, handed to `out` piece by piece.
void write_findings_text(const AuthorDescriptions& descriptions,
                         const std::vector<Diagnostic>& warnings,
                         const AuthorCompileResult& compile, bool colour, const TextSink& out);

// The findings on standard error, with colour when it is a terminal, written
// as they are rendered.
void print_findings(const AuthorDescriptions& descriptions, const std::vector<Diagnostic>& warnings,
                    const AuthorCompileResult& compile);

// kExitProblems for a compile problem or a stop, and for a warning when
// `strict`; kExitSuccess otherwise.
int findings_status(const std::vector<Diagnostic>& warnings, const AuthorCompileResult& compile,
                    bool strict);

}  // namespace tracciato
