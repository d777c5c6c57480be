// Paths as the author's tool receives and shows them: UTF-8 text. On Linux
// that is the file system's own form; on Windows the command line arrives as
// UTF-16 and is handed on as UTF-8, so a path must be built from UTF-8
// explicitly, never through the ANSI code page.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tracciato {

inline std::filesystem::path path_from_utf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8_of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tracciato
