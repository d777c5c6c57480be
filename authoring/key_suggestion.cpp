#include "authoring/key_suggestion.h"

#include <algorithm>

namespace tracciato {
namespace {

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Edits allowed for words of this many letters in all: one for a short key,
// about one in four letters for a longer one.
int reach(size_t letters) { return std::max<int>(1, static_cast<int>(letters / 4)); }

}  // namespace

int containment_distance(std::string_view word, std::string_view text) {
  // Edit distance with adjacent swaps, where the word may start and end
  // anywhere in the text: row 0 and the choice of the last column are free.
  // Three rows are enough (a swap looks two rows back); they are kept
  // between calls, since lint asks this for every word of every key of every
  // key field that matches none.
  const size_t n = word.size();
  const size_t m = text.size();
  thread_local std::vector<int> rows;
  rows.assign(3 * (m + 1), 0);
  int* before = rows.data();       // row i - 2
  int* previous = before + m + 1;  // row i - 1
  int* current = previous + m + 1;
  for (size_t i = 1; i <= n; ++i) {
    current[0] = static_cast<int>(i);
    for (size_t j = 1; j <= m; ++j) {
      const int cost = fold(word[i - 1]) == fold(text[j - 1]) ? 0 : 1;
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
      if (i > 1 && j > 1 && fold(word[i - 1]) == fold(text[j - 2]) &&
          fold(word[i - 2]) == fold(text[j - 1])) {
        current[j] = std::min(current[j], before[j - 2] + 1);
      }
    }
    std::swap(before, previous);
    std::swap(previous, current);
  }
  return *std::min_element(previous, previous + m + 1);
}

std::optional<KeySuggestion> nearest_key(std::string_view field, std::span<const KnownKey> keys) {
  // A field this long is text that ran on, not a mistyped key.
  constexpr size_t kLongestKeyField = 80;
  if (field.size() > kLongestKeyField) return std::nullopt;
  std::optional<KeySuggestion> best;
  for (const KnownKey& key : keys) {
    int distance = 0;
    size_t letters = 0;
    for (std::string_view word : key.words) {
      distance += containment_distance(word, field);
      letters += word.size();
    }
    if (distance > reach(letters)) continue;
    if (!best || distance < best->distance) best = KeySuggestion{key.shown, distance};
  }
  return best;
}

}  // namespace tracciato
