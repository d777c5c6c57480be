// A description as an editor holds it, and as the compiler reads it.
//
// Editors hold Unicode text and count a position's character in UTF-16 code
// units (or, when both sides agree, in UTF-8 bytes); the compiler reads
// Windows-1252 bytes and counts columns in bytes. Every character of the
// editor's text becomes exactly one byte (a character the code page cannot
// hold becomes '?', and is reported), so the n-th byte of a line is its n-th
// character and every column maps both ways exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/field_reader.h"

namespace tracciato::lsp {

enum class PositionEncoding { kUtf16, kUtf8 };

// 0-based, as the protocol counts.
struct Position {
  int32_t line = 0;
  int32_t character = 0;
  friend bool operator==(const Position&, const Position&) = default;
};

struct Range {
  Position start;
  Position end;
};

// A character with no Windows-1252 byte, where it stands in the compiler's
// text.
struct UnmappableCharacter {
  FieldSite site;
  char32_t code_point = 0;
};

class EditorText {
 public:
  // REQUIRES: `utf8` is valid UTF-8 (the JSON the editor sent was).
  explicit EditorText(std::string utf8 = {});

  const std::string& utf8() const { return utf8_; }
  // One byte per character of the editor's text.
  const std::string& windows1252() const { return bytes_; }
  const std::vector<UnmappableCharacter>& unmappable() const { return unmappable_; }

  // Where the compiler's (line, byte column), both 1-based, stands for the
  // editor; a column past its line's end is its line's end.
  Position position_of(FieldSite site, PositionEncoding encoding) const;
  // The (line, column) a position of the editor's names; a character past
  // the line's end is the line's end (its column one past the last byte).
  FieldSite site_of(Position position, PositionEncoding encoding) const;

  // The editor's text of `length` characters from the compiler's (line,
  // column), within its line.
  std::string utf8_field(FieldSite site, int32_t length) const;

  // Replaces `range` (the whole text when absent) with `text`.
  // Throws std::out_of_range for a range outside the text or reversed.
  void apply_change(const std::optional<Range>& range, std::string_view text,
                    PositionEncoding encoding);

  struct Change {
    std::optional<Range> range;  // the whole text when absent
    std::string text;
  };
  // The changes in turn, each at the positions the ones before it left;
  // the code page's text is made once, after the last. Throws as
  // apply_change does, and then changes nothing.
  void apply_changes(const std::vector<Change>& changes, PositionEncoding encoding);

  int32_t line_count() const { return static_cast<int32_t>(utf8_starts_.size()); }

 private:
  void rebuild();
  // The line's text without its line end; 0-based.
  std::string_view utf8_line(int32_t line) const;

  std::string utf8_;
  std::string bytes_;
  std::vector<UnmappableCharacter> unmappable_;
  std::vector<size_t> utf8_starts_;  // where each line starts in utf8_
};

}  // namespace tracciato::lsp
