#include "tools/nearest_name.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace tracciato {
namespace {

size_t edit_distance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), size_t{0});
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::optional<std::string> nearest_name(std::string_view word, std::span<const std::string> known) {
  std::optional<std::string> best;
  size_t best_distance = 0;
  bool tied = false;
  for (const std::string& name : known) {
    const size_t distance = edit_distance(word, name);
    if (distance > (name.size() + 2) / 3) continue;
    if (!best || distance < best_distance) {
      best = name;
      best_distance = distance;
      tied = false;
    } else if (distance == best_distance) {
      tied = true;
    }
  }
  if (tied) return std::nullopt;
  return best;
}

}  // namespace tracciato
