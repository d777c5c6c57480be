#include "tools/lint_report.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <utility>

#include "compiler/description_source.h"
#include "driver/compile_driver.h"
#include "platform/utf8_path.h"
#include "tools/author_findings.h"
#include "tools/compile_report.h"
#include "tools/diagnostic_format.h"
#include "tools/scenario_names.h"

namespace tracciato {

LintResult lint_scenario(const AuthorDescriptions& descriptions, const std::string& line_name,
                         const std::string& train_number, bool check_encoding) {
  LintResult result;
  // The model of a long line is large: it goes before the warnings are
  // gathered.
  result.compile = compile_for_analysis(descriptions, line_name, train_number);
  result.warnings = description_warnings(descriptions, check_encoding);
  return result;
}

AuthorCompileResult compile_for_analysis(const AuthorDescriptions& descriptions,
                                         const std::string& line_name,
                                         const std::string& train_number,
                                         std::unique_ptr<ScenarioModel>* keep) {
  // The model of a long line is large; keep it off the stack.
  auto model = std::make_unique<ScenarioModel>();
  model->line_name = line_name;
  model->train_number = train_number;
  DescriptionTexts source(descriptions.line_text, descriptions.train_text);
  AuthorCompileResult result = compile_outcome(compile_scenario(*model, 1, source), *model);
  if (keep != nullptr) *keep = std::move(model);
  return result;
}

std::string lint_messages(const AuthorDescriptions& descriptions, const LintResult& result,
                          bool colour) {
  return findings_text(descriptions, result.warnings, result.compile, colour);
}

std::string lint_report_json(const AuthorDescriptions& descriptions, const LintResult& result,
                             bool strict) {
  std::string report;
  write_lint_report_json(descriptions, result, strict,
                         [&](std::string_view piece) { report += piece; });
  return report;
}

void write_lint_report_json(const AuthorDescriptions& descriptions, const LintResult& result,
                            bool strict, const TextSink& out) {
  // The warnings are written one by one into the object's text, so that a
  // million of them are never a JSON value all at once. They are the
  // warnings alone, as the analysis gives them.
  out("{\"warnings\":[");
  {
    const IndexedDescriptions indexed(descriptions);
    bool first = true;
    for (const Diagnostic& w : result.warnings) {
      if (!std::exchange(first, false)) out(",");
      out(json_text(diagnostic_json(w, indexed.sources())));
    }
  }
  out("],\"compile\":");
  std::string compile = compile_report_json(descriptions, result.compile);
  compile.pop_back();  // its line end
  out(compile);
  out(",\"status\":" + std::to_string(lint_exit_status(result, strict)) + "}\n");
}

int lint_exit_status(const LintResult& result, bool strict) {
  return findings_status(result.warnings, result.compile, strict);
}

}  // namespace tracciato
