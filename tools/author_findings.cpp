#include "tools/author_findings.h"

#include "authoring/lint.h"
#include "text/windows1252.h"
#include "tools/compile_report.h"
#include "tools/console_output.h"
#include "tools/diagnostic_format.h"
#include "tools/exit_status.h"
#include "tools/terminal_colour.h"

namespace tracciato {
namespace {

Diagnostic warning_at(Description description, FieldSite site, SharedText message) {
  Diagnostic d;
  d.severity = Severity::kWarning;
  d.description = description;
  d.site = site;
  d.message = std::move(message);
  return d;
}

// The description's first line in UTF-8, if it reads as UTF-8.
std::optional<Diagnostic> encoding_warning(Description description, std::string_view text) {
  const std::optional<TextSite> at = first_utf8_sequence(text);
  if (!at) return std::nullopt;
  return warning_at(description, {static_cast<int32_t>(at->line), static_cast<int32_t>(at->column)},
                    "the description reads as UTF-8, but descriptions are Windows-1252 text: "
                    "each byte of this character is read as a character of its own; save the "
                    "file as Windows-1252 or give --encoding utf-8");
}

}  // namespace

std::vector<Diagnostic> description_warnings(const AuthorDescriptions& descriptions,
                                             bool check_encoding) {
  return scan_warnings(descriptions, scan_line_description(descriptions.line_text),
                       scan_train_description(descriptions.train_text), check_encoding);
}

std::vector<Diagnostic> scan_warnings(const AuthorDescriptions& descriptions, DescriptionScan line,
                                      DescriptionScan train, bool check_encoding) {
  std::vector<Diagnostic> warnings;
  const auto add_encoding = [&](Description description, std::string_view text) {
    if (!check_encoding) return;
    if (auto w = encoding_warning(description, text)) warnings.push_back(std::move(*w));
  };
  std::vector<LintWarning> found = lint_warnings(std::move(line), std::move(train));
  // lint_warnings has the line description's first; the encoding warning
  // leads each description's own.
  add_encoding(Description::kLine, descriptions.line_text);
  bool train_started = false;
  warnings.reserve(found.size() + 2);
  for (LintWarning& w : found) {
    if (w.description == Description::kTrain && !train_started) {
      add_encoding(Description::kTrain, descriptions.train_text);
      train_started = true;
    }
    warnings.push_back(warning_at(w.description, w.site, std::move(w.message)));
    warnings.back().fix = std::move(w.fix);
  }
  if (!train_started) add_encoding(Description::kTrain, descriptions.train_text);
  return warnings;
}

std::string findings_text(const AuthorDescriptions& descriptions,
                          const std::vector<Diagnostic>& warnings,
                          const AuthorCompileResult& compile, bool colour) {
  std::string text;
  write_findings_text(descriptions, warnings, compile, colour,
                      [&](std::string_view piece) { text += piece; });
  return text;
}

void write_findings_text(const AuthorDescriptions& descriptions,
                         const std::vector<Diagnostic>& warnings,
                         const AuthorCompileResult& compile, bool colour, const TextSink& out) {
  write_compile_messages(descriptions, compile, colour, warnings, out);
  const size_t errors =
      compile_diagnostics(compile).size() + (compile.stop != CompileStop::kNone ? 1 : 0);
  if (errors == 0 && warnings.empty()) return;
  out(diagnostic_summary(errors, warnings.size()) + "\n");
}

void print_findings(const AuthorDescriptions& descriptions, const std::vector<Diagnostic>& warnings,
                    const AuthorCompileResult& compile) {
  ErrorWriter err;
  write_findings_text(descriptions, warnings, compile, colour_on_standard_error(),
                      [&](std::string_view piece) { err.write(piece); });
}

int findings_status(const std::vector<Diagnostic>& warnings, const AuthorCompileResult& compile,
                    bool strict) {
  if (compile.error_code != 0 || compile.stop != CompileStop::kNone) return kExitProblems;
  if (strict && !warnings.empty()) return kExitProblems;
  return kExitSuccess;
}

}  // namespace tracciato
