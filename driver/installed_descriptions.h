// The descriptions as the install package meets them: files it wrote beside
// itself, read back and deleted once the compiler is done with them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "compiler/description_source.h"

namespace tracciato {

class InstalledDescriptions final : public DescriptionSource {
 public:
  InstalledDescriptions(std::filesystem::path line_file, std::filesystem::path train_file)
      : line_file_(std::move(line_file)), train_file_(std::move(train_file)) {}

  std::optional<std::string_view> read_line() override;
  void discard_line() override;
  std::optional<std::string_view> read_train() override;
  void discard_train() override;

 private:
  std::filesystem::path line_file_;
  std::filesystem::path train_file_;
  std::optional<std::string> line_text_;  // as read, for the parser to read in place
  std::optional<std::string> train_text_;
};

}  // namespace tracciato
