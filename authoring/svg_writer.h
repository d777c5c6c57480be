// A small writer of SVG text: elements with attributes, escaped text, and
// numbers printed short. Enough for one self-contained drawing; no parsing.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tracciato {

using SvgAttributes = std::vector<std::pair<std::string_view, std::string>>;

// A coordinate or length with at most one decimal: "12.5", "-3", "0".
std::string svg_number(double v);

// Text with &, <, >, " and ' escaped for element content and attribute values.
std::string svg_escape(std::string_view text);

class SvgWriter {
 public:
  // Opens a container element; every open() needs its close().
  void open(std::string_view tag, const SvgAttributes& attributes = {});
  void close();

  // An element without content.
  void element(std::string_view tag, const SvgAttributes& attributes);

  // An element holding text (escaped here), such as <text> or <title>.
  void text_element(std::string_view tag, const SvgAttributes& attributes, std::string_view text);

  // The document: the XML declaration, then everything written.
  // REQUIRES: every open() was closed.
  std::string document() const;

 private:
  void start_tag(std::string_view tag, const SvgAttributes& attributes);

  std::string out_;
  std::vector<std::string> open_tags_;
};

}  // namespace tracciato
