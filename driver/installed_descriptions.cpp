#include "driver/installed_descriptions.h"

#include <system_error>

#include "platform/file_replace.h"

namespace tracciato {
namespace {

std::optional<std::string> read_if_present(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return std::nullopt;
  try {
    return read_file(path);
  } catch (const IoError&) {
    return std::nullopt;
  }
}

// A description that cannot be deleted is left behind; nothing is lost by it.
void remove_quietly(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace

std::optional<std::string_view> InstalledDescriptions::read_line() {
  line_text_ = read_if_present(line_file_);
  return line_text_;
}
void InstalledDescriptions::discard_line() { remove_quietly(line_file_); }
std::optional<std::string_view> InstalledDescriptions::read_train() {
  train_text_ = read_if_present(train_file_);
  return train_text_;
}
void InstalledDescriptions::discard_train() { remove_quietly(train_file_); }

}  // namespace tracciato
