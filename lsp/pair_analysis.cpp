#include "lsp/pair_analysis.h"

#include <cstdio>

#include "platform/utf8_path.h"
#include "tools/author_findings.h"
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

// The side's scan: the one kept for its text, or a new one.
std::shared_ptr<const ScannedDescription> scanned(const std::string& uri,
                                                  std::shared_ptr<const EditorText> text,
                                                  Description description, ScanCache& scans) {
  if (const auto kept = scans.find(uri);
      !uri.empty() && kept != scans.end() && kept->second->text == text) {
    return kept->second;
  }
  auto made = std::make_shared<ScannedDescription>();
  made->text = std::move(text);
  const std::string_view bytes = made->text ? std::string_view(made->text->windows1252()) : "";
  made->scan = description == Description::kLine ? scan_line_description(bytes, &made->outline)
                                                 : scan_train_description(bytes, &made->outline);
  if (!uri.empty()) scans[uri] = made;
  return made;
}

}  // namespace

std::unique_ptr<PairAnalysis> analyse_pair(const Workspace& workspace, const DescriptionPair& pair,
                                           ScanCache& scans) {
  auto analysis = std::make_unique<PairAnalysis>();
  analysis->pair = pair;
  analysis->generation = workspace.generation_of(pair);
  analysis->line.uri = pair.line_uri;
  analysis->train.uri = pair.train_uri;
  analysis->line.text = workspace.text_of(pair.line_uri, pair.line_path);
  analysis->train.text = workspace.text_of(pair.train_uri, pair.train_path);
  analysis->line.scanned = scanned(pair.line_uri, analysis->line.text, Description::kLine, scans);
  analysis->train.scanned =
      scanned(pair.train_uri, analysis->train.text, Description::kTrain, scans);

  // What lint_scenario does, with the scans taken where they were made.
  AuthorDescriptions descriptions;
  descriptions.line_file = pair.line_path;
  descriptions.train_file = pair.train_path;
  if (analysis->line.text) descriptions.line_text = analysis->line.text->windows1252();
  if (analysis->train.text) descriptions.train_text = analysis->train.text->windows1252();
  const auto [line_name, train_number] =
      analysis_names(utf8_of(pair.line_path), utf8_of(pair.train_path));
  analysis->compile = compile_for_analysis(descriptions, line_name, train_number, &analysis->model);
  const std::vector<Diagnostic> warnings = scan_warnings(descriptions, analysis->line.scanned->scan,
                                                         analysis->train.scanned->scan, true);

  std::vector<Diagnostic> problems = compile_diagnostics(analysis->compile);
  if (analysis->line.text) add_unmappable(problems, Description::kLine, *analysis->line.text);
  if (analysis->train.text) add_unmappable(problems, Description::kTrain, *analysis->train.text);
  for (const Diagnostic* d : in_text_order(warnings, problems)) {
    analysis->diagnostics.push_back(*d);
  }
  if (analysis->compile.stop != CompileStop::kNone) {
    Diagnostic stop;
    stop.severity = Severity::kError;
    stop.description = Description::kLine;
    stop.message = std::string(stop_sentence(analysis->compile.stop));
    analysis->diagnostics.push_back(std::move(stop));
  }
  return analysis;
}

}  // namespace tracciato::lsp
