// What every fuzz target takes its input as: the fuzzer's bytes, and for the
// targets that read a scenario, a line and a train description cut from them
// at the first NUL byte (which no description holds).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/author_compile.h"

namespace tracciato::fuzz {

inline std::string_view bytes_of(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

inline AuthorDescriptions descriptions_of(std::string_view input) {
  const size_t cut = input.find('\0');
  AuthorDescriptions descriptions;
  descriptions.line_file = "F_linea.txt";
  descriptions.train_file = "F_1-.txt";
  descriptions.line_text = std::string(input.substr(0, cut));
  if (cut != std::string_view::npos) descriptions.train_text = std::string(input.substr(cut + 1));
  return descriptions;
}

}  // namespace tracciato::fuzz
