#include "tools/diagnostic_format.h"

#include "text/windows1252.h"

namespace tracciato {
namespace {

// Bytes a terminal must not receive raw (they could move the cursor or start
// an escape sequence), and the bytes Windows-1252 leaves undefined.
bool shown_as_question_mark(unsigned char byte) {
  if (byte == '\t') return false;
  if (byte < 0x20 || byte == 0x7F) return true;
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

}  // namespace

std::optional<std::string_view> source_line(std::string_view text, int32_t line) {
  if (line < 1) return std::nullopt;
  size_t start = 0;
  for (int32_t n = 1; n < line; ++n) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) return std::nullopt;
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  // A text ending with a line end has no line after it.
  if (start == text.size() && line > 1) return std::nullopt;
  const size_t end = text.find_first_of("\r\n", start);
  return text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
}

std::string displayable_line(std::string_view line) {
  std::string masked(line);
  for (char& byte : masked) {
    if (shown_as_question_mark(static_cast<unsigned char>(byte))) byte = '?';
  }
  return windows1252_to_utf8(masked);
}

std::optional<std::string> caret_line(std::string_view line, int32_t column) {
  if (column < 1 || static_cast<size_t>(column) > line.size() + 1) return std::nullopt;
  std::string caret;
  for (size_t i = 0; i + 1 < static_cast<size_t>(column); ++i) {
    caret.push_back(line[i] == '\t' ? '\t' : ' ');
  }
  caret.push_back('^');
  return caret;
}

std::string format_diagnostic(const DiagnosticPlace& place, std::string_view headline,
                              std::string_view source_text) {
  std::string message = place.file;
  if (place.line > 0) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely about ":" + string.
    message += ':';
    message += std::to_string(place.line);
    if (place.column > 0) {
      message += ':';
      message += std::to_string(place.column);
    }
  }
  message += ": ";
  message += headline;
  message += '\n';

  const std::optional<std::string_view> line = source_line(source_text, place.line);
  if (!line) return message;
  message += displayable_line(*line);
  message += '\n';
  if (const std::optional<std::string> caret = caret_line(*line, place.column)) {
    message += *caret;
    message += '\n';
  }
  return message;
}

}  // namespace tracciato
