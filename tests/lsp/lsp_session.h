// A language server session in-process: the messages an editor would send,
// framed as it frames them, and every message the server sent back.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "lsp/inbox.h"
#include "lsp/message_framing.h"
#include "lsp/server.h"

namespace tracciato::test_support {

using Json = nlohmann::json;

struct SessionResult {
  int status = 0;
  std::vector<Json> sent;
  std::vector<std::string> log;

  // The reply to request `id`; null when there is none.
  Json reply(int id) const {
    for (const Json& m : sent) {
      if (m.contains("id") && m["id"] == id) return m;
    }
    return nullptr;
  }
  // The diagnostics last published for `uri`; null when none were.
  Json last_diagnostics(const std::string& uri) const {
    Json found;
    for (const Json& m : sent) {
      if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri) {
        found = m["params"];
      }
    }
    return found;
  }
};

class Session {
 public:
  Session& send(const Json& message) {
    input_ += lsp::frame_message(message.dump());
    return *this;
  }
  Session& raw(const std::string& bytes) {
    input_ += bytes;
    return *this;
  }
  Session& request(int id, const std::string& method, Json params = Json::object()) {
    return send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
  }
  Session& notify(const std::string& method, Json params = Json::object()) {
    return send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
  }
  Session& initialize(Json capabilities = Json::object()) {
    request(0, "initialize", {{"capabilities", capabilities}});
    return notify("initialized");
  }
  Session& open(const std::string& uri, const std::string& utf8_text, int version = 1) {
    return notify(
        "textDocument/didOpen",
        {{"textDocument",
          {{"uri", uri}, {"languageId", "text"}, {"version", version}, {"text", utf8_text}}}});
  }
  Session& end() {
    request(9999, "shutdown");
    return notify("exit");
  }

  // Runs the server over everything sent. With `idle_between`, the server
  // finds nothing waiting after each message, as when a person pauses.
  SessionResult run(bool idle_between = true) const {
    SessionResult result;
    lsp::ScriptedInbox inbox(input_, idle_between);
    lsp::Server server(
        inbox, [&](std::string_view body) { result.sent.push_back(Json::parse(body)); },
        [&](std::string_view line) { result.log.emplace_back(line); }, "test");
    result.status = server.run();
    return result;
  }

 private:
  std::string input_;
};

inline Json position(int line, int character) { return {{"line", line}, {"character", character}}; }

inline Json text_position(const std::string& uri, int line, int character) {
  return {{"textDocument", {{"uri", uri}}}, {"position", position(line, character)}};
}

}  // namespace tracciato::test_support
