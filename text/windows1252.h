// Names and sign texts in the scenario files are single-byte Windows-1252
// text; JSON and SVG carry UTF-8. The conversion here is reversible for every
// byte value: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) travel as the C1 control characters of the same number, so a
// name read from a file and written back comes out byte for byte the same.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tracciato {

// Every byte becomes one character, UTF-8 encoded.
std::string windows1252_to_utf8(std::string_view bytes);

// The reverse; nullopt when the text is not valid UTF-8 or holds a character
// that has no byte in the code page.
std::optional<std::string> utf8_to_windows1252(std::string_view text);

}  // namespace tracciato
