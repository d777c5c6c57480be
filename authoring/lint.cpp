#include "authoring/lint.h"

#include <algorithm>

namespace tracciato {

std::vector<LintWarning> lint_warnings(const DescriptionScan& line, const DescriptionScan& train) {
  std::vector<LintWarning> warnings = lint_key_fields(line);
  for (auto&& group : {lint_key_fields(train), lint_positions(line, train), lint_values(line),
                       lint_values(train)}) {
    warnings.insert(warnings.end(), group.begin(), group.end());
  }
  // Descriptions in the order they are read, each warning where it points.
  const auto before = [](const LintWarning& a, const LintWarning& b) {
    if (a.description != b.description) return a.description < b.description;
    if (a.site.line != b.site.line) return a.site.line < b.site.line;
    return a.site.column < b.site.column;
  };
  // Often one check finds them all, already in order.
  if (!std::is_sorted(warnings.begin(), warnings.end(), before)) {
    std::stable_sort(warnings.begin(), warnings.end(), before);
  }
  return warnings;
}

}  // namespace tracciato
