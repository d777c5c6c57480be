#include "tools/lint_fix.h"

#include <algorithm>

#include "tools/diagnostic_format.h"

namespace tracciato {

std::string apply_fixes(std::string_view text, Description description,
                        const std::vector<Diagnostic>& diagnostics,
                        std::vector<AppliedFix>& applied) {
  struct Edit {
    size_t offset;
    size_t length;
    const TextFix* fix;
  };
  // Lines found once: a description may hold a million fixes.
  const LineIndex lines(text);
  std::vector<Edit> edits;
  for (const Diagnostic& d : diagnostics) {
    if (d.description != description || !d.fix) continue;
    const TextFix& fix = *d.fix;
    const std::optional<std::string_view> line = lines.line(fix.site.line);
    if (!line || fix.site.column < 1 || fix.length < 0) continue;
    const size_t column = static_cast<size_t>(fix.site.column) - 1;
    const size_t length = static_cast<size_t>(fix.length);
    if (column + length > line->size()) continue;  // past its line
    edits.push_back({static_cast<size_t>(line->data() - text.data()) + column, length, &fix});
  }
  std::sort(edits.begin(), edits.end(),
            [](const Edit& a, const Edit& b) { return a.offset < b.offset; });
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  for (const Edit& e : edits) {
    if (e.offset < at) continue;  // overlaps the one before
    out.append(text.substr(at, e.offset - at));
    out += e.fix->replacement;
    applied.push_back(
        {e.fix->site, std::string(text.substr(e.offset, e.length)), e.fix->replacement});
    at = e.offset + e.length;
  }
  out.append(text.substr(at));
  return out;
}

}  // namespace tracciato
