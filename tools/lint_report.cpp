#include "tools/lint_report.h"

#include <memory>
#include <nlohmann/json.hpp>

#include "compiler/description_source.h"
#include "driver/compile_driver.h"
#include "tools/author_findings.h"
#include "tools/compile_report.h"
#include "tools/diagnostic_format.h"

namespace tracciato {

LintResult lint_scenario(const AuthorDescriptions& descriptions, const std::string& line_name,
                         const std::string& train_number, bool check_encoding) {
  LintResult result;
  {
    // The model of a long line is large; keep it off the stack, and let it
    // go before the warnings are gathered.
    auto model = std::make_unique<ScenarioModel>();
    model->line_name = line_name;
    model->train_number = train_number;
    MemoryDescriptions source(descriptions.line_text, descriptions.train_text);
    result.compile = compile_outcome(compile_scenario(*model, 1, source), *model);
  }
  result.warnings = description_warnings(descriptions, check_encoding);
  return result;
}

std::string lint_messages(const AuthorDescriptions& descriptions, const LintResult& result,
                          bool colour) {
  return findings_text(descriptions, result.warnings, result.compile, colour);
}

std::string lint_report_json(const AuthorDescriptions& descriptions, const LintResult& result,
                             bool strict) {
  using Json = nlohmann::ordered_json;
  const LineIndex line_lines(descriptions.line_text);
  const LineIndex train_lines(descriptions.train_text);
  const DiagnosticSources sources = diagnostic_sources(descriptions, line_lines, train_lines);
  Json warnings = Json::array();
  for (const Diagnostic& w : result.warnings) warnings.push_back(diagnostic_json(w, sources));
  Json report;
  report["warnings"] = std::move(warnings);
  report["compile"] = Json::parse(compile_report_json(descriptions, result.compile));
  report["status"] = lint_exit_status(result, strict);
  return report.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

int lint_exit_status(const LintResult& result, bool strict) {
  return findings_status(result.warnings, result.compile, strict);
}

}  // namespace tracciato
