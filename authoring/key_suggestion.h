// The nearest known key to a key field that matches none, for "did you mean
// 'segnale'?".
//
// The parsers recognise a key when the key field contains its words anywhere,
// so closeness is measured the same way: for each word of a key, the fewest
// letters to change, insert, delete or swap so that the field contains it
// (letter case aside). A key is suggested when that total is small for the
// length of its words.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tracciato {

struct KnownKey {
  std::string_view shown;               // as an author writes it: "cartello_indicatore"
  std::vector<std::string_view> words;  // what the key field must contain
};

struct KeySuggestion {
  std::string_view shown;
  int distance = 0;  // 0: the words are there, only the letter case differs
};

// The closest key within reach, the first of equals; nullopt when none is,
// and for a field longer than any key field an author would type.
std::optional<KeySuggestion> nearest_key(std::string_view field, std::span<const KnownKey> keys);

// Letters to edit so that `text` contains `word` somewhere, ASCII case aside
// (a swap of two neighbours counts one).
int containment_distance(std::string_view word, std::string_view text);

}  // namespace tracciato
