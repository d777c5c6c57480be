#include "documents/document.h"
#include "platform/file_replace.h"

namespace tracciato {

std::string render_document(DocumentTable table) {
  std::string bytes;
  for (std::string_view line : table) {
    if (line == kEndMarker) break;
    bytes.append(line);
    bytes.append("\r\n");
  }
  return bytes;
}

void write_document(const std::filesystem::path& path, DocumentTable table) {
  replace_file(path, render_document(table));
}

}  // namespace tracciato
