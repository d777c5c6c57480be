// An author's document as a package writes it: read as Windows-1252 or UTF-8
// with any line ends, written as Windows-1252 lines each followed by CR LF,
// the form of every document of the install sequence.
//
// Unlike the embedded tables there is no end marker and no limit on the
// number of lines: every line the author wrote is written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace tracciato {

// A character of the author's text that the code page cannot carry.
struct DocumentCharacterProblem {
  size_t line = 0;
  size_t column = 0;
  std::string message;  // what is wrong and what to do
};

// The document's bytes: each line (ended by CR LF, LF or a lone CR, or by the
// end of the text) in Windows-1252, followed by CR LF. A Windows-1252 CR LF
// text comes out byte for byte.
std::variant<std::string, DocumentCharacterProblem> author_document_bytes(
    std::string_view file_bytes);

// The number of CR LF line ends in a document's bytes.
size_t document_line_count(std::string_view bytes);

}  // namespace tracciato
