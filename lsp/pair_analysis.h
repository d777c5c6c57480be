// One analysis of a line and a train description, exactly as `tracciato
// lint` makes it (the same compile, the same scans, the same diagnostics),
// kept with what the editor's questions need: the texts it read, the outline
// of every field and the compiled model.
//
// A description's scan depends on its text alone, so the scan of a text
// that has not changed since the last analysis is taken again as it was:
// an edit of the train reads the line description only in the compile.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "authoring/description_scan.h"
#include "compiler/diagnostics.h"
#include "compiler/scenario_model.h"
#include "lsp/description_outline.h"
#include "lsp/editor_text.h"
#include "lsp/workspace.h"
#include "tools/author_compile.h"

namespace tracciato::lsp {

// A description's text read once by the scan's walk: lint's findings and
// the outline of every field.
struct ScannedDescription {
  std::shared_ptr<const EditorText> text;  // null when there is no text
  DescriptionScan scan;
  DescriptionOutline outline;
};

// The scans of the texts last analysed, by URI.
using ScanCache = std::map<std::string, std::shared_ptr<const ScannedDescription>>;

struct DescriptionSide {
  std::string uri;                         // empty when the pair has no such description
  std::shared_ptr<const EditorText> text;  // null when there is no text
  std::shared_ptr<const ScannedDescription> scanned;

  const DescriptionOutline& outline() const { return scanned->outline; }
};

struct PairAnalysis {
  DescriptionPair pair;
  std::string generation;  // Workspace::generation_of when it was made
  DescriptionSide line;
  DescriptionSide train;
  // Every finding in the order of the texts: the warnings, the compile's
  // problem and its stop, as lint lists them; plus the characters the code
  // page cannot hold.
  std::vector<Diagnostic> diagnostics;
  AuthorCompileResult compile;
  std::unique_ptr<ScenarioModel> model;

  const DescriptionSide& side(Description description) const {
    return description == Description::kTrain ? train : line;
  }
};

// `scans` offers the scans of earlier analyses and takes this one's.
std::unique_ptr<PairAnalysis> analyse_pair(const Workspace& workspace, const DescriptionPair& pair,
                                           ScanCache& scans);

}  // namespace tracciato::lsp
