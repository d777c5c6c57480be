// The encoding an author's descriptions are saved in. The compiler reads
// Windows-1252, one byte per character, as the simulator's files hold them;
// an author whose editor saves UTF-8 says so with `--encoding utf-8`, and the
// texts are converted before the compile sees them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tools/author_compile.h"

namespace tracciato {

inline constexpr std::string_view kWindows1252Encoding = "windows-1252";
inline constexpr std::string_view kUtf8Encoding = "utf-8";

// Converts both texts from UTF-8 when `encoding` is kUtf8Encoding (a
// byte-order mark is dropped); leaves them as they are otherwise. Returns
// "FILE:LINE:COL: error: …" for the first character with no Windows-1252 byte
// or the first bytes that are not UTF-8, and changes nothing then.
std::optional<std::string> convert_descriptions(AuthorDescriptions& descriptions,
                                                std::string_view encoding);

}  // namespace tracciato
