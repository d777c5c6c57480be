#include "tools/description_encoding.h"

#include <cstdio>
#include <variant>

#include "platform/utf8_path.h"
#include "text/windows1252.h"

namespace tracciato {
namespace {

std::string problem_text(const std::filesystem::path& file, const UnmappableCharacter& at) {
  std::string text =
      utf8_of(file) + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": error: ";
  if (at.code_point == 0) {
    return text +
           "these bytes are not UTF-8; is the file saved as windows-1252 (then give no "
           "--encoding)?\n";
  }
  char number[16];
  std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(at.code_point));
  return text + "character " + number +
         " has no Windows-1252 byte; replace it with one the simulator can show\n";
}

}  // namespace

std::optional<std::string> convert_descriptions(AuthorDescriptions& descriptions,
                                                std::string_view encoding) {
  if (encoding != kUtf8Encoding) return std::nullopt;
  auto line = utf8_text_to_windows1252(descriptions.line_text);
  if (const auto* at = std::get_if<UnmappableCharacter>(&line)) {
    return problem_text(descriptions.line_file, *at);
  }
  auto train = utf8_text_to_windows1252(descriptions.train_text);
  if (const auto* at = std::get_if<UnmappableCharacter>(&train)) {
    return problem_text(descriptions.train_file, *at);
  }
  descriptions.line_text = std::get<std::string>(std::move(line));
  descriptions.train_text = std::get<std::string>(std::move(train));
  return std::nullopt;
}

}  // namespace tracciato
