#include "authoring/lint.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tracciato {

std::vector<LintWarning> lint_warnings(DescriptionScan line, DescriptionScan train) {
  std::vector<LintWarning> warnings = std::move(line.key_field_warnings);
  const auto add = [&](std::vector<LintWarning> group) {
    warnings.insert(warnings.end(), std::make_move_iterator(group.begin()),
                    std::make_move_iterator(group.end()));
  };
  add(std::move(train.key_field_warnings));
  add(std::move(line.position_warnings));
  add(std::move(train.position_warnings));
  add(std::move(line.value_warnings));
  add(std::move(train.value_warnings));
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
