#include "tools/scenario_names.h"

namespace tracciato {
namespace {

std::string file_name_of(const std::filesystem::path& path) { return path.filename().string(); }

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

}  // namespace tracciato
