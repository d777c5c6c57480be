#include "lsp/pair_analysis.h"

#include <cstdio>

#include "platform/utf8_path.h"
#include "tools/compile_report.h"
#include "tools/diagnostic_format.h"
#include "tools/lint_report.h"

namespace tracciato::lsp {
namespace {

std::string character_name(char32_t c) {
  char number[16];
  std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(c));
  return number;
}

// A character the code page cannot hold is read by the compile as '?':
// an error at its own column, since the file could not be saved as it is.
void add_unmappable(std::vector<Diagnostic>& out, Description description, const EditorText& text) {
  for (const UnmappableCharacter& u : text.unmappable()) {
    Diagnostic d;
    d.severity = Severity::kError;
    d.description = description;
    d.site = u.site;
    // The words `compile --encoding utf-8` says of it.
    d.message = "character " + character_name(u.code_point) +
                " has no Windows-1252 byte; replace it with one the simulator can show";
    out.push_back(std::move(d));
  }
}

}  // namespace

std::unique_ptr<PairAnalysis> analyse_pair(const Workspace& workspace,
                                           const DescriptionPair& pair) {
  auto analysis = std::make_unique<PairAnalysis>();
  analysis->pair = pair;
  analysis->generation = workspace.generation_of(pair);
  analysis->line.uri = pair.line_uri;
  analysis->train.uri = pair.train_uri;
  analysis->line.text = workspace.text_of(pair.line_uri, pair.line_path);
  analysis->train.text = workspace.text_of(pair.train_uri, pair.train_path);

  AuthorDescriptions descriptions;
  descriptions.line_file = pair.line_path;
  descriptions.train_file = pair.train_path;
  if (analysis->line.text) descriptions.line_text = analysis->line.text->windows1252();
  if (analysis->train.text) descriptions.train_text = analysis->train.text->windows1252();
  const auto [line_name, train_number] =
      analysis_names(utf8_of(pair.line_path), utf8_of(pair.train_path));

  AnalysisTap tap;
  tap.line_listener = &analysis->line.outline;
  tap.train_listener = &analysis->train.outline;
  tap.keep_model = true;
  LintResult result = lint_scenario(descriptions, line_name, train_number, true, &tap);
  analysis->line.outline.finish();
  analysis->train.outline.finish();
  analysis->model = std::move(tap.model);
  analysis->compile = result.compile;

  std::vector<Diagnostic> extra;
  if (analysis->line.text) add_unmappable(extra, Description::kLine, *analysis->line.text);
  if (analysis->train.text) add_unmappable(extra, Description::kTrain, *analysis->train.text);
  std::vector<Diagnostic> problems = compile_diagnostics(result.compile);
  for (Diagnostic& d : extra) problems.push_back(std::move(d));
  for (const Diagnostic* d : in_text_order(result.warnings, problems)) {
    analysis->diagnostics.push_back(*d);
  }
  if (result.compile.stop != CompileStop::kNone) {
    Diagnostic stop;
    stop.severity = Severity::kError;
    stop.description = Description::kLine;
    stop.message = std::string(stop_sentence(result.compile.stop));
    analysis->diagnostics.push_back(std::move(stop));
  }
  return analysis;
}

}  // namespace tracciato::lsp
