#include "tools/lint_fix.h"

#include <algorithm>

#include "tools/diagnostic_format.h"

namespace tracciato {
namespace {

bool is_line_end(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::string apply_fixes(std::string_view text, Description description,
                        const std::vector<Diagnostic>& diagnostics,
                        std::vector<AppliedFix>& applied) {
  struct Edit {
    size_t offset;
    size_t length;
    const TextFix* fix;
  };
  // Line starts found once: a description may hold a million fixes.
  std::vector<size_t> starts{0};
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (is_line_end(text[i])) starts.push_back(i + 1);
  }
  std::vector<Edit> edits;
  for (const Diagnostic& d : diagnostics) {
    if (d.description != description || !d.fix) continue;
    const TextFix& fix = *d.fix;
    if (fix.site.line < 1 || static_cast<size_t>(fix.site.line) > starts.size() ||
        fix.site.column < 1 || fix.length < 0) {
      continue;
    }
    const size_t offset =
        starts[static_cast<size_t>(fix.site.line) - 1] + static_cast<size_t>(fix.site.column) - 1;
    const size_t length = static_cast<size_t>(fix.length);
    if (offset + length > text.size()) continue;
    const std::string_view bytes = text.substr(offset, length);
    if (std::any_of(bytes.begin(), bytes.end(), is_line_end)) continue;
    edits.push_back({offset, length, &fix});
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
