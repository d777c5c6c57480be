#include <unistd.h>

#include <cerrno>

#include "lsp/standard_streams.h"

namespace tracciato::lsp {

void use_binary_standard_streams() {}

size_t StandardInput::read(char* buffer, size_t size) {
  for (;;) {
    const ssize_t got = ::read(STDIN_FILENO, buffer, size);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) return 0;
  }
}

bool write_standard_output(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace tracciato::lsp
