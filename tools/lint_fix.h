// `tracciato lint --fix`: the fixes the analysis offers (each "did you mean"
// a mistyped key) applied to the description files, the same edits the
// language server offers as quick fixes. Only the bytes of each fixed field
// change; the encoding and the line ends stay as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "compiler/diagnostics.h"

namespace tracciato {

struct AppliedFix {
  FieldSite site;
  std::string was;  // as the description holds it (Windows-1252)
  std::string now;
};

// `text` with every fix of `diagnostics` of `description` applied; `applied`
// receives what changed, in the order of the text. A fix whose bytes are
// not where it says (it overlaps another, or runs past its line) is left
// out.
std::string apply_fixes(std::string_view text, Description description,
                        const std::vector<Diagnostic>& diagnostics,
                        std::vector<AppliedFix>& applied);

}  // namespace tracciato
