// FieldReader: the stream of comma- or line-separated fields that both
// description formats are made of.
//
// A field ends at a comma or a line end (CR LF, a lone CR or a lone LF), which
// is consumed with it; blanks (spaces, tabs) before a field are skipped. The
// caller asks for each field as text or as a number. A number also ends at a
// blank: the blanks after it are skipped together with one comma or line end
// that directly follows them, so "13   4   30" is three numbers.
//
// Every read that starts with no byte left, and every number that is not an
// optional sign and digits within its width, throws RuntimeFailure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tracciato {

struct FieldSite {
  int32_t line = 0;    // 1-based
  int32_t column = 0;  // 1-based byte column
  friend bool operator==(const FieldSite&, const FieldSite&) = default;
};

class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  // True when no byte is left: a read "reached the end" when this holds
  // right after it.
  bool at_end() const { return pos_ >= text_.size(); }

  // A text field, trailing blanks dropped. A field that begins with a double
  // quote runs to the closing quote (commas and line ends included); what
  // follows the closing quote up to the next separator is dropped.
  std::string read_text();

  // A text field that is stored in the item table, whose file format gives a
  // name at most 65535 bytes.
  std::string read_stored_text();

  // A number field: empty gives 0.
  int32_t read_number();
  uint8_t read_u8();   // 0 to 255
  int16_t read_i16();  // -32768 to 32767

  // Where the field most recently read starts (after its leading blanks).
  FieldSite last_site() const { return last_site_; }
  // How many bytes of its line the field most recently read covers from its
  // site: a number's token, a text without its trailing blanks, a quoted
  // text with its quotes (up to its line's end when it runs onto the next).
  int32_t last_length() const { return last_length_; }

 private:
  void begin_field();
  bool at_line_end() const;
  void consume_line_end();

  std::string_view text_;
  size_t pos_ = 0;
  int32_t line_ = 1;
  size_t line_start_ = 0;
  FieldSite last_site_;
  int32_t last_length_ = 0;
};

// Key tests: exact-case and ASCII-any-case substring tests.
bool contains(std::string_view field, std::string_view word);
bool contains_any_case(std::string_view field, std::string_view word);

}  // namespace tracciato
