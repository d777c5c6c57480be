#include "tools/scenario_names.h"

#include <cstdio>
#include <variant>

#include "platform/utf8_path.h"
#include "text/windows1252.h"

namespace tracciato {
namespace {

std::string file_name_of(const std::filesystem::path& path) { return utf8_of(path.filename()); }

std::optional<std::string> usable(std::string name) {
  if (scenario_name_problem(name)) return std::nullopt;
  return name;
}

}  // namespace

std::optional<std::string> scenario_name_problem(std::string_view name) {
  if (name.empty()) return "the name is empty";
  if (name.find_first_of("/\\") != std::string_view::npos) {
    return "the name holds a path separator";
  }
  if (name.find('\0') != std::string_view::npos) return "the name holds a NUL character";
  return std::nullopt;
}

std::optional<std::string> code_page_problem(std::string_view utf8_name) {
  const auto converted = utf8_text_to_windows1252(utf8_name);
  const auto* where = std::get_if<UnmappableCharacter>(&converted);
  if (where == nullptr) return std::nullopt;
  if (where->code_point == 0) return "the name is not valid UTF-8 text";
  // The character itself, as the author typed it, and its number.
  size_t pos = 0;
  for (size_t n = 1; n < where->column; ++n) {
    do ++pos;
    while (pos < utf8_name.size() && (static_cast<unsigned char>(utf8_name[pos]) & 0xC0) == 0x80);
  }
  size_t end = pos + 1;
  while (end < utf8_name.size() && (static_cast<unsigned char>(utf8_name[end]) & 0xC0) == 0x80) {
    ++end;
  }
  char number[16];
  std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(where->code_point));
  return "'" + std::string(utf8_name.substr(pos, end - pos)) + "' (" + number +
         ") has no Windows-1252 byte, and the scenario's files hold one Windows-1252 byte per "
         "character; choose a name without it";
}

std::string windows1252_name(std::string_view utf8_name) {
  return std::get<std::string>(utf8_text_to_windows1252(utf8_name));
}

std::optional<std::string> line_name_from_file(const std::filesystem::path& line_file) {
  const std::string name = file_name_of(line_file);
  if (!name.ends_with(kLineDescriptionSuffix)) return std::nullopt;
  return usable(name.substr(0, name.size() - kLineDescriptionSuffix.size()));
}

std::optional<std::string> train_number_from_file(const std::filesystem::path& train_file,
                                                  std::string_view line_name) {
  const std::string name = file_name_of(train_file);
  const std::string prefix = std::string(line_name) + "_";
  if (name.size() < prefix.size() + kTrainDescriptionSuffix.size()) return std::nullopt;
  if (!name.starts_with(prefix) || !name.ends_with(kTrainDescriptionSuffix)) return std::nullopt;
  return usable(
      name.substr(prefix.size(), name.size() - prefix.size() - kTrainDescriptionSuffix.size()));
}

std::pair<std::string, std::string> analysis_names(const std::string& line_file_utf8,
                                                   const std::string& train_file_utf8) {
  const auto name_or = [](const std::optional<std::string>& utf8_name, std::string_view fallback) {
    if (!utf8_name || code_page_problem(*utf8_name)) return std::string(fallback);
    return windows1252_name(*utf8_name);
  };
  const std::optional<std::string> line_name = line_name_from_file(path_from_utf8(line_file_utf8));
  const std::optional<std::string> train_number =
      train_number_from_file(path_from_utf8(train_file_utf8), line_name.value_or("line"));
  return {name_or(line_name, "line"), name_or(train_number, "train")};
}

}  // namespace tracciato
