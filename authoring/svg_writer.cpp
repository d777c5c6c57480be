#include "authoring/svg_writer.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace tracciato {

std::string svg_number(double v) {
  double rounded = std::round(v * 10) / 10;
  if (rounded == 0) rounded = 0;  // no "-0"
  char text[32];
  if (rounded == std::floor(rounded)) {
    std::snprintf(text, sizeof text, "%.0f", rounded);
  } else {
    std::snprintf(text, sizeof text, "%.1f", rounded);
  }
  return text;
}

std::string svg_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void SvgWriter::start_tag(std::string_view tag, const SvgAttributes& attributes) {
  out_ += std::string(open_tags_.size(), ' ') + "<" + std::string(tag);
  for (const auto& [name, value] : attributes) {
    out_ += " " + std::string(name) + "=\"" + svg_escape(value) + "\"";
  }
}

void SvgWriter::open(std::string_view tag, const SvgAttributes& attributes) {
  start_tag(tag, attributes);
  out_ += ">\n";
  open_tags_.emplace_back(tag);
}

void SvgWriter::close() {
  if (open_tags_.empty()) throw std::logic_error("SvgWriter::close without open");
  const std::string tag = std::move(open_tags_.back());
  open_tags_.pop_back();
  out_ += std::string(open_tags_.size(), ' ') + "</" + tag + ">\n";
}

void SvgWriter::element(std::string_view tag, const SvgAttributes& attributes) {
  start_tag(tag, attributes);
  out_ += "/>\n";
}

void SvgWriter::text_element(std::string_view tag, const SvgAttributes& attributes,
                             std::string_view text) {
  start_tag(tag, attributes);
  out_ += ">" + svg_escape(text) + "</" + std::string(tag) + ">\n";
}

std::string SvgWriter::document() const {
  if (!open_tags_.empty())
    throw std::logic_error("SvgWriter::document with " + open_tags_.back() + " open");
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + out_;
}

}  // namespace tracciato
