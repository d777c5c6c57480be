// JSON-RPC 2.0 as the language server speaks it: what a message body is
// (a request, a notification or a response to the server's own request),
// and the replies and notifications the server sends.
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace tracciato::lsp {

using Json = nlohmann::json;

enum class ErrorCode : int {
  kParseError = -32700,
  kInvalidRequest = -32600,
  kMethodNotFound = -32601,
  kInvalidParams = -32602,
  kInternalError = -32603,
  kServerNotInitialized = -32002,
  kRequestFailed = -32803,
  kRequestCancelled = -32800,
  kContentModified = -32801,
};

// A request that cannot be answered: the reply carries the code and the
// sentence.
class RpcError : public std::runtime_error {
 public:
  RpcError(ErrorCode code, const std::string& what) : std::runtime_error(what), code(code) {}
  ErrorCode code;
};

struct Incoming {
  enum class Kind { kRequest, kNotification, kResponse };
  Kind kind = Kind::kNotification;
  Json id;  // null for a notification
  std::string method;
  Json params;  // null when absent
};

// A body that is no message: the error reply to send (its id null unless
// the body had one).
struct Malformed {
  std::string reply;
  std::string what;  // for the server's log
};

std::variant<Incoming, Malformed> classify_message(std::string_view body);

std::string result_reply(const Json& id, Json result);
std::string error_reply(const Json& id, ErrorCode code, std::string_view message);
std::string notification(std::string_view method, Json params);

// A member of `params` as a JSON value of the wanted kind; throws RpcError
// (kInvalidParams) naming it when it is missing or of another kind.
const Json& member(const Json& params, std::string_view name, Json::value_t kind);
const Json& object_member(const Json& params, std::string_view name);
std::string string_member(const Json& params, std::string_view name);
int32_t integer_member(const Json& params, std::string_view name);

}  // namespace tracciato::lsp
