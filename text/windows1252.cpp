#include "text/windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace tracciato {
namespace {

// Code points of the bytes 0x80 to 0x9F; the undefined ones keep their own
// number. 0xA0 to 0xFF are the Latin-1 code points themselves.
constexpr std::array<char32_t, 32> kHighRow = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t code_point_of(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighRow[byte - 0x80];
  return byte;
}

std::optional<unsigned char> byte_of(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (size_t i = 0; i < kHighRow.size(); ++i) {
    if (kHighRow[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The next character of `text` from `pos`, advancing it; nullopt on a
// malformed or overlong sequence.
std::optional<char32_t> next_code_point(std::string_view text, size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07, smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < extra; ++i) {
    if (pos >= text.size()) return std::nullopt;
    const auto next = static_cast<unsigned char>(text[pos++]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < smallest) return std::nullopt;
  return c;
}

// Where the run of ASCII bytes from `pos` ends. A description is nearly all
// ASCII, so the run is passed over eight bytes at a time.
size_t ascii_run_end(std::string_view bytes, size_t pos) {
  constexpr uint64_t kHighBits = 0x8080808080808080;
  while (pos + sizeof(uint64_t) <= bytes.size()) {
    uint64_t word = 0;
    std::memcpy(&word, bytes.data() + pos, sizeof word);
    if ((word & kHighBits) != 0) break;
    pos += sizeof word;
  }
  while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80) ++pos;
  return pos;
}

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::optional<unsigned char> windows1252_byte(char32_t code_point) { return byte_of(code_point); }

std::optional<char32_t> decode_utf8(std::string_view text, size_t& pos) {
  return next_code_point(text, pos);
}

std::string windows1252_to_utf8(std::string_view bytes) {
  // ASCII is the same in both; most of what is shown is nothing else.
  if (std::all_of(bytes.begin(), bytes.end(),
                  [](char byte) { return static_cast<unsigned char>(byte) < 0x80; })) {
    return std::string(bytes);
  }
  std::string out;
  out.reserve(bytes.size());
  for (const char byte : bytes) append_utf8(out, code_point_of(static_cast<unsigned char>(byte)));
  return out;
}

std::optional<std::string> utf8_to_windows1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const std::optional<char32_t> c = next_code_point(text, pos);
    if (!c) return std::nullopt;
    const std::optional<unsigned char> byte = byte_of(*c);
    if (!byte) return std::nullopt;
    out.push_back(static_cast<char>(*byte));
  }
  return out;
}

bool looks_like_utf8(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) return true;
  bool multi_byte = false;
  size_t pos = ascii_run_end(bytes, 0);
  while (pos < bytes.size()) {
    // A byte from 0x80 up: a sequence of two to four bytes, or not UTF-8.
    if (!next_code_point(bytes, pos)) return false;
    multi_byte = true;
    pos = ascii_run_end(bytes, pos);
  }
  return multi_byte;
}

std::variant<std::string, UnmappableCharacter> author_text_to_windows1252(std::string_view bytes) {
  if (!looks_like_utf8(bytes)) return std::string(bytes);
  return utf8_text_to_windows1252(bytes);
}

std::optional<TextSite> first_utf8_sequence(std::string_view bytes) {
  if (!looks_like_utf8(bytes)) return std::nullopt;
  TextSite site{.line = 1, .column = 1};
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte >= 0x80) return site;
    const bool crlf_first_half = byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
    if ((byte == '\n' || byte == '\r') && !crlf_first_half) {
      ++site.line;
      site.column = 1;
    } else if (!crlf_first_half) {
      ++site.column;
    }
  }
  return std::nullopt;
}

std::variant<std::string, UnmappableCharacter> utf8_text_to_windows1252(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  std::string out;
  out.reserve(bytes.size());
  UnmappableCharacter site{.line = 1, .column = 1};
  size_t pos = 0;
  while (pos < bytes.size()) {
    const std::optional<char32_t> c = next_code_point(bytes, pos);
    if (!c) return UnmappableCharacter{site.line, site.column, 0};
    const std::optional<unsigned char> byte = byte_of(*c);
    if (!byte) return UnmappableCharacter{site.line, site.column, *c};
    out.push_back(static_cast<char>(*byte));
    // CR LF, LF and a lone CR each end a line.
    const bool crlf_first_half = *c == '\r' && pos < bytes.size() && bytes[pos] == '\n';
    if ((*c == '\n' || *c == '\r') && !crlf_first_half) {
      ++site.line;
      site.column = 1;
    } else if (!crlf_first_half) {
      ++site.column;
    }
  }
  return out;
}

}  // namespace tracciato
