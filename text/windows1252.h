// Names and sign texts in the scenario files are single-byte Windows-1252
// text; JSON and SVG carry UTF-8. The conversion here is reversible for every
// byte value: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) travel as the C1 control characters of the same number, so a
// name read from a file and written back comes out byte for byte the same.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tracciato {

// The byte of the code page that holds `code_point`; nullopt when none does.
std::optional<unsigned char> windows1252_byte(char32_t code_point);

// The character of UTF-8 `text` that starts at `pos`, which moves past it;
// nullopt for a malformed or overlong sequence.
// REQUIRES: pos < text.size().
std::optional<char32_t> decode_utf8(std::string_view text, size_t& pos);

// Every byte becomes one character, UTF-8 encoded.
std::string windows1252_to_utf8(std::string_view bytes);

// The reverse; nullopt when the text is not valid UTF-8 or holds a character
// that has no byte in the code page.
std::optional<std::string> utf8_to_windows1252(std::string_view text);

// An author's text file may be saved in the code page or in UTF-8. It is read
// as UTF-8 when it starts with the byte-order mark or when it holds at least
// one multi-byte sequence and every byte belongs to a valid sequence; any
// other bytes are taken as they are, as Windows-1252.
bool looks_like_utf8(std::string_view bytes);

// Where a character with no byte in the code page stands: line and column
// from 1, the column counted in characters. `text` is the UTF-8 text without
// its byte-order mark.
struct UnmappableCharacter {
  size_t line = 0;
  size_t column = 0;
  char32_t code_point = 0;  // 0 when the bytes are not valid UTF-8
};

// The author's text as Windows-1252 bytes: UTF-8 converted (its byte-order
// mark dropped), anything else unchanged. Line ends are left as they are.
std::variant<std::string, UnmappableCharacter> author_text_to_windows1252(std::string_view bytes);

// The same for a text known to be UTF-8, whatever its bytes look like: a
// malformed sequence is reported (code_point 0) instead of being taken as
// Windows-1252.
std::variant<std::string, UnmappableCharacter> utf8_text_to_windows1252(std::string_view text);

// Where the first multi-byte sequence of a text that looks_like_utf8 stands:
// line from 1 and column from 1, the column counted in bytes as the field
// reader counts it (a byte-order mark is the first, at 1:1). nullopt when
// the text does not look like UTF-8.
struct TextSite {
  size_t line = 0;
  size_t column = 0;
};
std::optional<TextSite> first_utf8_sequence(std::string_view bytes);

}  // namespace tracciato
