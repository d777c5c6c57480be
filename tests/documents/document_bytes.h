// Helpers for checking rendered documents as the driver will find them on
// disk: split into lines, digested, scanned for multi-byte sequences.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/digest.h"

namespace tracciato::document_testing {

using test_support::fnv1a64;

// The lines of a rendered document, each of which must end with CR LF.
// A stray CR or LF inside a line, or bytes after the last CR LF, leave an
// entry "<bad line ending>" so the line counts and texts no longer match.
inline std::vector<std::string> lines_of(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const size_t end = bytes.find("\r\n");
    std::string_view line = bytes.substr(0, end);
    if (end == std::string_view::npos || line.find_first_of("\r\n") != std::string_view::npos) {
      lines.emplace_back("<bad line ending>");
      if (end == std::string_view::npos) break;
    } else {
      lines.emplace_back(line);
    }
    bytes.remove_prefix(end + 2);
  }
  return lines;
}

// Offset of the first well-formed UTF-8 multi-byte sequence, or npos. A
// Windows-1252 accent followed by plain text never forms one.
inline size_t find_utf8_sequence(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
    } else {
      continue;
    }
    if (i + length > bytes.size()) continue;
    bool continuation = true;
    for (size_t k = 1; k < length; ++k) {
      continuation = continuation && (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
    }
    if (continuation) return i;
  }
  return std::string_view::npos;
}

}  // namespace tracciato::document_testing
