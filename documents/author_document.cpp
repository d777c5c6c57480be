#include "documents/author_document.h"

#include <cstdio>

#include "text/windows1252.h"

namespace tracciato {
namespace {

std::string problem_text(const UnmappableCharacter& where) {
  if (where.code_point == 0) {
    return "the text is neither valid UTF-8 nor Windows-1252; save it again in one of them";
  }
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(where.code_point));
  return "character " + std::string(code) +
         " has no Windows-1252 byte; replace it with one the simulator can show";
}

}  // namespace

std::variant<std::string, DocumentCharacterProblem> author_document_bytes(
    std::string_view file_bytes) {
  auto converted = author_text_to_windows1252(file_bytes);
  if (const auto* where = std::get_if<UnmappableCharacter>(&converted)) {
    return DocumentCharacterProblem{where->line, where->column, problem_text(*where)};
  }
  const std::string& text = std::get<std::string>(converted);
  std::string out;
  out.reserve(text.size() + text.size() / 16 + 2);
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
      // A last line without its line end still is a line.
      out.append(text, pos, std::string::npos);
      out.append("\r\n");
      break;
    }
    out.append(text, pos, end - pos);
    out.append("\r\n");
    pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return out;
}

size_t document_line_count(std::string_view bytes) {
  size_t count = 0;
  for (size_t pos = bytes.find("\r\n"); pos != std::string_view::npos;
       pos = bytes.find("\r\n", pos + 2)) {
    ++count;
  }
  return count;
}

}  // namespace tracciato
