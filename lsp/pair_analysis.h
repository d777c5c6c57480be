// One analysis of a line and a train description, exactly as `tracciato
// lint` makes it (the same compile, the same scan, the same diagnostics),
// kept with what the editor's questions need: the texts it read, the outline
// of every field and the compiled model.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "compiler/diagnostics.h"
#include "compiler/scenario_model.h"
#include "lsp/description_outline.h"
#include "lsp/editor_text.h"
#include "lsp/workspace.h"
#include "tools/author_compile.h"

namespace tracciato::lsp {

struct DescriptionSide {
  std::string uri;                         // empty when the pair has no such description
  std::shared_ptr<const EditorText> text;  // null when there is no text
  DescriptionOutline outline;
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

std::unique_ptr<PairAnalysis> analyse_pair(const Workspace& workspace, const DescriptionPair& pair);

}  // namespace tracciato::lsp
