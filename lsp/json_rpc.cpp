#include "lsp/json_rpc.h"

#include <limits>

namespace tracciato::lsp {
namespace {

Json error_object(const Json& id, ErrorCode code, std::string_view message) {
  return {{"jsonrpc", "2.0"},
          {"id", id},
          {"error", {{"code", static_cast<int>(code)}, {"message", message}}}};
}

Malformed malformed(const Json& id, ErrorCode code, std::string_view message) {
  return {error_reply(id, code, message), std::string(message)};
}

bool valid_id(const Json& id) { return id.is_string() || id.is_number_integer(); }

std::string dumped(const Json& value) {
  // Text an editor sent may hold anything; what goes back is always valid
  // UTF-8, a broken sequence replaced.
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

std::variant<Incoming, Malformed> classify_message(std::string_view body) {
  Json message = Json::parse(body, nullptr, false);
  if (message.is_discarded()) {
    return malformed(nullptr, ErrorCode::kParseError, "the message is not JSON: nothing was done");
  }
  if (!message.is_object()) {
    return malformed(nullptr, ErrorCode::kInvalidRequest,
                     "a message is a JSON object with a method or a result");
  }
  const auto id = message.find("id");
  const bool has_id = id != message.end() && !id->is_null();
  if (has_id && !valid_id(*id)) {
    return malformed(nullptr, ErrorCode::kInvalidRequest, "a request's id is a number or a string");
  }
  Incoming in;
  if (has_id) in.id = *id;
  const auto method = message.find("method");
  if (method == message.end()) {
    if (has_id && (message.contains("result") || message.contains("error"))) {
      in.kind = Incoming::Kind::kResponse;
      return in;
    }
    return malformed(in.id, ErrorCode::kInvalidRequest, "the message has no method");
  }
  if (!method->is_string()) {
    return malformed(in.id, ErrorCode::kInvalidRequest, "the message's method is not a string");
  }
  in.method = method->get<std::string>();
  in.kind = has_id ? Incoming::Kind::kRequest : Incoming::Kind::kNotification;
  if (const auto params = message.find("params"); params != message.end()) {
    in.params = std::move(*params);
  }
  return in;
}

std::string result_reply(const Json& id, Json result) {
  return dumped({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

std::string error_reply(const Json& id, ErrorCode code, std::string_view message) {
  return dumped(error_object(id, code, message));
}

std::string notification(std::string_view method, Json params) {
  return dumped({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
}

const Json& member(const Json& params, std::string_view name, Json::value_t kind) {
  if (params.is_object()) {
    const auto found = params.find(name);
    if (found != params.end()) {
      const bool fits = found->type() == kind ||
                        (kind == Json::value_t::number_integer && found->is_number_unsigned());
      if (fits) return *found;
    }
  }
  throw RpcError(ErrorCode::kInvalidParams,
                 "the parameters lack '" + std::string(name) + "' of the right kind");
}

const Json& object_member(const Json& params, std::string_view name) {
  return member(params, name, Json::value_t::object);
}

std::string string_member(const Json& params, std::string_view name) {
  return member(params, name, Json::value_t::string).get<std::string>();
}

int32_t integer_member(const Json& params, std::string_view name) {
  const Json& n = member(params, name, Json::value_t::number_integer);
  constexpr auto kLargest = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
  const bool fits = n.is_number_unsigned() ? n.get<uint64_t>() <= kLargest
                                           : n.get<int64_t>() >= 0 && n.get<int64_t>() <= INT32_MAX;
  if (!fits) {
    throw RpcError(ErrorCode::kInvalidParams, "'" + std::string(name) + "' is out of range");
  }
  return static_cast<int32_t>(n.get<int64_t>());
}

}  // namespace tracciato::lsp
