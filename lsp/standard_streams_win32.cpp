#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <climits>

#include "lsp/standard_streams.h"

namespace tracciato::lsp {

void use_binary_standard_streams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

size_t StandardInput::read(char* buffer, size_t size) {
  const int got = _read(0, buffer, static_cast<unsigned>(std::min<size_t>(size, INT_MAX)));
  return got > 0 ? static_cast<size_t>(got) : 0;
}

bool write_standard_output(std::string_view bytes) {
  while (!bytes.empty()) {
    const int n =
        _write(1, bytes.data(), static_cast<unsigned>(std::min<size_t>(bytes.size(), INT_MAX)));
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace tracciato::lsp
