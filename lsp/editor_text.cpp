#include "lsp/editor_text.h"

#include <stdexcept>

#include "text/windows1252.h"

namespace tracciato::lsp {
namespace {

bool is_line_end(char c) { return c == '\r' || c == '\n'; }

// Code units a character takes in the editor's counting.
int32_t units_of(char32_t c, PositionEncoding encoding) {
  if (encoding == PositionEncoding::kUtf16) return c >= 0x10000 ? 2 : 1;
  if (c < 0x80) return 1;
  if (c < 0x800) return 2;
  return c < 0x10000 ? 3 : 4;
}

char32_t next_character(std::string_view text, size_t& pos) {
  const std::optional<char32_t> c = decode_utf8(text, pos);
  return c.value_or(0xFFFD);
}

// Where each line of `text` starts: CR LF, a lone CR or a lone LF end one.
std::vector<size_t> line_starts(std::string_view text) {
  std::vector<size_t> starts{0};
  for (size_t i = 0; i < text.size(); ++i) {
    if (!is_line_end(text[i])) continue;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    starts.push_back(i + 1);
  }
  return starts;
}

// The byte of `text` a position of the editor's names.
size_t offset_of(std::string_view text, const std::vector<size_t>& starts, Position position,
                 PositionEncoding encoding) {
  if (position.line < 0 || position.character < 0) throw std::out_of_range("a negative position");
  // A position past the last line is the end of the text, as editors have it.
  if (static_cast<size_t>(position.line) >= starts.size()) return text.size();
  const size_t start = starts[static_cast<size_t>(position.line)];
  size_t end = static_cast<size_t>(position.line) + 1 < starts.size()
                   ? starts[static_cast<size_t>(position.line) + 1]
                   : text.size();
  while (end > start && is_line_end(text[end - 1])) --end;
  const std::string_view line = text.substr(start, end - start);
  int32_t character = 0;
  size_t pos = 0;
  while (pos < line.size() && character < position.character) {
    character += units_of(next_character(line, pos), encoding);
  }
  return start + pos;
}

}  // namespace

EditorText::EditorText(std::string utf8) : utf8_(std::move(utf8)) { rebuild(); }

void EditorText::rebuild() {
  bytes_.clear();
  bytes_.reserve(utf8_.size());
  unmappable_.clear();
  utf8_starts_.assign(1, 0);
  int32_t line = 1;
  size_t line_start_byte = 0;
  size_t pos = 0;
  while (pos < utf8_.size()) {
    const auto lead = static_cast<unsigned char>(utf8_[pos]);
    if (lead < 0x80) {
      bytes_.push_back(static_cast<char>(lead));
      ++pos;
      // CR LF is one line end; a lone CR or LF is one too, as the field
      // reader and the protocol both have it.
      if (lead == '\r' && pos < utf8_.size() && utf8_[pos] == '\n') {
        bytes_.push_back('\n');
        ++pos;
      }
      if (is_line_end(static_cast<char>(lead))) {
        utf8_starts_.push_back(pos);
        ++line;
        line_start_byte = bytes_.size();
      }
      continue;
    }
    const char32_t c = next_character(utf8_, pos);
    const std::optional<unsigned char> byte = windows1252_byte(c);
    if (!byte) {
      unmappable_.push_back({{line, static_cast<int32_t>(bytes_.size() - line_start_byte + 1)}, c});
    }
    bytes_.push_back(static_cast<char>(byte.value_or('?')));
  }
}

std::string_view EditorText::utf8_line(int32_t line) const {
  if (line < 0 || line >= line_count()) return {};
  const size_t start = utf8_starts_[static_cast<size_t>(line)];
  size_t end = line + 1 < line_count() ? utf8_starts_[static_cast<size_t>(line) + 1] : utf8_.size();
  while (end > start && is_line_end(utf8_[end - 1])) --end;
  return std::string_view(utf8_).substr(start, end - start);
}

Position EditorText::position_of(FieldSite site, PositionEncoding encoding) const {
  const int32_t line = std::max(site.line - 1, 0);
  const std::string_view text = utf8_line(line);
  int32_t character = 0;
  size_t pos = 0;
  for (int32_t column = 1; column < site.column && pos < text.size(); ++column) {
    character += units_of(next_character(text, pos), encoding);
  }
  return {line, character};
}

FieldSite EditorText::site_of(Position position, PositionEncoding encoding) const {
  const std::string_view text = utf8_line(position.line);
  int32_t character = 0;
  int32_t column = 1;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t next = pos;
    const int32_t units = units_of(next_character(text, next), encoding);
    if (character + units > position.character) break;
    character += units;
    pos = next;
    ++column;
  }
  return {position.line + 1, column};
}

std::string EditorText::utf8_field(FieldSite site, int32_t length) const {
  const std::string_view text = utf8_line(site.line - 1);
  size_t pos = 0;
  for (int32_t column = 1; column < site.column && pos < text.size(); ++column) {
    next_character(text, pos);
  }
  const size_t start = pos;
  for (int32_t i = 0; i < length && pos < text.size(); ++i) next_character(text, pos);
  return std::string(text.substr(start, pos - start));
}

void EditorText::apply_change(const std::optional<Range>& range, std::string_view text,
                              PositionEncoding encoding) {
  apply_changes({Change{range, std::string(text)}}, encoding);
}

void EditorText::apply_changes(const std::vector<Change>& changes, PositionEncoding encoding) {
  std::string text = utf8_;
  std::vector<size_t> starts = utf8_starts_;
  for (const Change& change : changes) {
    if (!change.range) {
      text = change.text;
    } else {
      const size_t from = offset_of(text, starts, change.range->start, encoding);
      const size_t to = offset_of(text, starts, change.range->end, encoding);
      if (to < from) throw std::out_of_range("a change whose range ends before it starts");
      text.replace(from, to - from, change.text);
    }
    starts = line_starts(text);
  }
  utf8_ = std::move(text);
  rebuild();
}

}  // namespace tracciato::lsp
