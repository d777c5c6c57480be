#include "compiler/field_reader.h"

#include <algorithm>
#include <limits>

#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end_char(char c) { return c == '\r' || c == '\n'; }

char fold_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr size_t kMaxStoredText = 65535;
constexpr size_t kLongestQuoted = 40;

// A field as a sentence quotes it, cut short when it runs on.
std::string quoted(std::string_view token) {
  if (token.size() <= kLongestQuoted) return "`" + std::string(token) + "`";
  return "`" + std::string(token.substr(0, kLongestQuoted)) + "...`";
}

}  // namespace

bool FieldReader::at_line_end() const { return !at_end() && is_line_end_char(text_[pos_]); }

void FieldReader::consume_line_end() {
  // CR LF is one line end; a lone CR or a lone LF is one too (LF CR is two).
  if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
  ++line_;
  line_start_ = pos_;
}

void FieldReader::begin_field() {
  if (at_end()) {
    throw RuntimeFailure("the text ends where another field is expected",
                         {line_, static_cast<int32_t>(pos_ - line_start_ + 1)});
  }
  while (!at_end() && is_blank(text_[pos_])) ++pos_;
  last_site_ = {line_, static_cast<int32_t>(pos_ - line_start_ + 1)};
  last_length_ = 0;
}

std::string FieldReader::read_text() {
  begin_field();
  std::string field;
  if (!at_end() && text_[pos_] == '"') {
    const size_t quote = pos_;
    ++pos_;
    const size_t start = pos_;
    const int32_t first_line = line_;
    size_t first_line_end = std::string_view::npos;
    while (!at_end() && text_[pos_] != '"') {
      if (is_line_end_char(text_[pos_])) {
        if (first_line_end == std::string_view::npos) first_line_end = pos_;
        consume_line_end();
      } else {
        ++pos_;
      }
    }
    field.assign(text_.substr(start, pos_ - start));
    if (!at_end()) ++pos_;  // the closing quote
    last_length_ = static_cast<int32_t>((line_ == first_line ? pos_ : first_line_end) - quote);
    while (!at_end() && text_[pos_] != ',' && !at_line_end()) ++pos_;
  } else {
    const size_t start = pos_;
    while (!at_end() && text_[pos_] != ',' && !at_line_end()) ++pos_;
    size_t end = pos_;
    while (end > start && is_blank(text_[end - 1])) --end;
    field.assign(text_.substr(start, end - start));
    last_length_ = static_cast<int32_t>(end - start);
  }
  if (at_line_end()) {
    consume_line_end();
  } else if (!at_end()) {
    ++pos_;  // the comma
  }
  return field;
}

std::string FieldReader::read_stored_text() {
  std::string field = read_text();
  if (field.size() > kMaxStoredText) {
    throw RuntimeFailure("a text of " + std::to_string(field.size()) +
                             " bytes is longer than the 65535 a name or sign text may hold",
                         last_site_);
  }
  return field;
}

int32_t FieldReader::read_number() {
  begin_field();
  const size_t start = pos_;
  while (!at_end() && text_[pos_] != ',' && !is_blank(text_[pos_]) && !at_line_end()) ++pos_;
  const std::string_view token = text_.substr(start, pos_ - start);
  last_length_ = static_cast<int32_t>(token.size());

  while (!at_end() && is_blank(text_[pos_])) ++pos_;
  if (at_line_end()) {
    consume_line_end();
  } else if (!at_end() && text_[pos_] == ',') {
    ++pos_;
  }

  if (token.empty()) return 0;
  size_t i = 0;
  const bool negative = token[0] == '-';
  if (token[0] == '-' || token[0] == '+') i = 1;
  if (i == token.size()) {
    throw RuntimeFailure(quoted(token) + " is a sign with no digits", last_site_);
  }
  constexpr const char* too_wide = " does not fit 32 bits (-2147483648 to 2147483647)";
  int64_t value = 0;
  for (; i < token.size(); ++i) {
    const char c = token[i];
    if (c < '0' || c > '9') {
      throw RuntimeFailure(quoted(token) + " is not a whole number", last_site_);
    }
    value = value * 10 + (c - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) {
      throw RuntimeFailure(quoted(token) + too_wide, last_site_);
    }
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) {
    throw RuntimeFailure(quoted(token) + too_wide, last_site_);
  }
  return static_cast<int32_t>(value);
}

uint8_t FieldReader::read_u8() {
  const int32_t v = read_number();
  if (v < 0 || v > 255) {
    throw RuntimeFailure(std::to_string(v) + " does not fit an 8-bit field (0 to 255)", last_site_);
  }
  return static_cast<uint8_t>(v);
}

int16_t FieldReader::read_i16() {
  const int32_t v = read_number();
  if (v < -32768 || v > 32767) {
    throw RuntimeFailure(std::to_string(v) + " does not fit a 16-bit field (-32768 to 32767)",
                         last_site_);
  }
  return static_cast<int16_t>(v);
}

bool contains(std::string_view field, std::string_view word) {
  return field.find(word) != std::string_view::npos;
}

bool contains_any_case(std::string_view field, std::string_view word) {
  const auto it = std::search(field.begin(), field.end(), word.begin(), word.end(),
                              [](char a, char b) { return fold_ascii(a) == fold_ascii(b); });
  return it != field.end() || word.empty();
}

}  // namespace tracciato
