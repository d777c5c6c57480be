// The language server's input, whatever an editor or anything else writes
// to it: framing, JSON-RPC and every request on whatever documents it opens.
// The session always ends, and every message it sends is JSON.
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "fuzz/fuzz_input.h"
#include "lsp/inbox.h"
#include "lsp/server.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tracciato;
  if (size == 0) return 0;
  // The first byte chooses whether the editor pauses between messages; the
  // rest is what it writes.
  const bool idle_between = (data[0] & 1) != 0;
  lsp::ScriptedInbox inbox(fuzz::bytes_of(data + 1, size - 1), idle_between);
  lsp::Server server(
      inbox,
      [](std::string_view body) {
        if (!nlohmann::json::accept(body)) std::abort();
      },
      [](std::string_view) {}, "fuzz");
  const int status = server.run();
  if (status != 0 && status != 1) std::abort();
  return 0;
}
