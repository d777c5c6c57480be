// The known name closest to a mistyped one, for "did you mean …?" hints.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tracciato {

// The name in `known` with the fewest single-character edits (insert, delete,
// replace) from `word`, when that is at most a third of the name's length
// (rounded up) and no other name is as close; nullopt otherwise.
std::optional<std::string> nearest_name(std::string_view word, std::span<const std::string> known);

}  // namespace tracciato
