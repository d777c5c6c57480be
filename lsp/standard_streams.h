// The server's standard input and output as raw bytes: the protocol's
// framing counts bytes, so no text-mode translation of line ends may touch
// them.
#pragma once

#include <string_view>

#include "lsp/message_framing.h"

namespace tracciato::lsp {

// Puts both streams in binary mode where the system has another.
void use_binary_standard_streams();

class StandardInput final : public ByteSource {
 public:
  size_t read(char* buffer, size_t size) override;
};

// Writes every byte to standard output; false when it cannot (the editor
// has gone).
bool write_standard_output(std::string_view bytes);

}  // namespace tracciato::lsp
