// Small descriptions for the lint tests: a line of 10 km with its general
// section, a train with its "[generale]" heading, each ended by the empty
// line the parsers stop on.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/lint.h"

namespace tracciato::test_support {

inline std::string crlf(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text + "\r\n";
}

inline std::string line_with(std::initializer_list<std::string_view> features) {
  std::string text = "[generale]\r\nlunghezza percorso, 10000\r\n[curve]\r\n";
  for (std::string_view line : features) (text += line) += "\r\n";
  return text + "\r\n";
}

inline std::string train_with(std::initializer_list<std::string_view> records) {
  std::string text = "[generale]\r\n";
  for (std::string_view line : records) (text += line) += "\r\n";
  return text + "\r\n";
}

// "L" or "T", then "LINE:COL: message", one per warning.
inline std::vector<std::string> warnings_of(const std::string& line, const std::string& train) {
  std::vector<std::string> out;
  for (const LintWarning& w :
       lint_warnings(scan_line_description(line), scan_train_description(train))) {
    out.push_back(std::string(w.description == Description::kLine ? "L" : "T") +
                  std::to_string(w.site.line) + ":" + std::to_string(w.site.column) + ": " +
                  w.message.str());
  }
  return out;
}

}  // namespace tracciato::test_support
