// The embedded documents and their one writer.
//
// Each document is a static table of lines closed by the end marker
// "riferimento fine del file", which is never written. Lines are single-byte
// Windows-1252 text (non-ASCII bytes are written as escapes in the sources, so
// no editor can change them); every line is followed by CR LF.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace tracciato {

inline constexpr std::string_view kEndMarker = "riferimento fine del file";

using DocumentTable = std::span<const std::string_view>;

// The embedded documents, each ending with kEndMarker.
DocumentTable line_description_document();   // <line>_linea.txt
DocumentTable train_description_document();  // <line>_<train>-.txt
DocumentTable notes_document();              // <line>_<train>_note.txt
DocumentTable slowdown_order_document();     // <line>_<train>_rallentamenti.txt
DocumentTable timetable_sheet_document();    // <line>_<train>_scheda_treno.txt

// The bytes of a document: every entry before the end marker, each followed
// by CR LF.
std::string render_document(DocumentTable table);

// Replaces the file at `path` by the rendered document. Throws IoError.
void write_document(const std::filesystem::path& path, DocumentTable table);

}  // namespace tracciato
