#include "tools/lint_report.h"

#include <memory>
#include <nlohmann/json.hpp>

#include "compiler/description_source.h"
#include "driver/compile_driver.h"
#include "tools/compile_report.h"
#include "tools/diagnostic_format.h"

namespace tracciato {
namespace {

const std::filesystem::path& file_of(const AuthorDescriptions& d, Description description) {
  return description == Description::kLine ? d.line_file : d.train_file;
}

}  // namespace

LintResult lint_scenario(const AuthorDescriptions& descriptions, const std::string& line_name,
                         const std::string& train_number) {
  LintResult result;
  result.warnings = lint_warnings(scan_line_description(descriptions.line_text),
                                  scan_train_description(descriptions.train_text));

  // The model of a long line is large; keep it off the stack.
  auto model = std::make_unique<ScenarioModel>();
  model->line_name = line_name;
  model->train_number = train_number;
  MemoryDescriptions source(descriptions.line_text, descriptions.train_text);
  result.compile = compile_outcome(compile_scenario(*model, 1, source), *model);
  return result;
}

std::string lint_messages(const AuthorDescriptions& descriptions, const LintResult& result) {
  // Each description's lines are found once, however many warnings point
  // into it: a warning per line of a large text stays linear.
  const LineIndex line_lines(descriptions.line_text);
  const LineIndex train_lines(descriptions.train_text);
  std::string messages;
  for (const LintWarning& w : result.warnings) {
    const DiagnosticPlace place{file_of(descriptions, w.description).string(), w.site.line,
                                w.site.column};
    messages += format_diagnostic(place, "warning: " + displayable_line(w.message),
                                  w.description == Description::kLine ? &line_lines : &train_lines);
  }
  return messages + compile_messages(descriptions, result.compile);
}

std::string lint_report_json(const AuthorDescriptions& descriptions, const LintResult& result) {
  using Json = nlohmann::ordered_json;
  Json warnings = Json::array();
  for (const LintWarning& w : result.warnings) {
    Json j;
    j["file"] = file_of(descriptions, w.description).string();
    j["line"] = w.site.line > 0 ? Json(w.site.line) : Json(nullptr);
    j["column"] = w.site.column > 0 ? Json(w.site.column) : Json(nullptr);
    // Key fields are quoted as they stand in the description: Windows-1252.
    j["message"] = displayable_line(w.message);
    warnings.push_back(std::move(j));
  }
  Json report;
  report["warnings"] = std::move(warnings);
  report["compile"] = Json::parse(compile_report_json(descriptions, result.compile));
  report["status"] = lint_exit_status(result);
  return report.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

int lint_exit_status(const LintResult& result) {
  if (result.compile.error_code != 0 || result.compile.stop != CompileStop::kNone)
    return kLintError;
  return result.warnings.empty() ? kLintClean : kLintWarnings;
}

}  // namespace tracciato
