#include "lsp/server.h"

#include <deque>
#include <new>

#include "lsp/features.h"
#include "lsp/standard_streams.h"
#include "tools/console_output.h"

namespace tracciato::lsp {
namespace {

bool starts_with(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

std::string uri_of(const Json& params) {
  return string_member(object_member(params, "textDocument"), "uri");
}

std::optional<Range> optional_range(const Json& value) {
  const auto it = value.find("range");
  if (it == value.end() || it->is_null()) return std::nullopt;
  return range_of_request(value);
}

}  // namespace

Server::Server(Inbox& inbox, MessageSink send, LogSink log, std::string version)
    : inbox_(inbox), send_(std::move(send)), log_(std::move(log)), version_(std::move(version)) {}

void Server::log(std::string_view line, int type) {
  log_(line);
  if (initialized_) send_(notification("window/logMessage", {{"type", type}, {"message", line}}));
}

int Server::run() {
  std::deque<Incoming> batch;
  for (;;) {
    if (batch.empty()) {
      std::optional<FrameRead> next;
      if (!held_.empty()) {
        next = std::move(held_.front());
        held_.pop_front();
      } else {
        next = inbox_.poll();
      }
      if (!next) {
        if (!dirty_.empty()) {
          publish_pending();
          continue;
        }
        next = inbox_.wait();
      }
      if (std::holds_alternative<EndOfInput>(*next)) {
        log_("tracciato lsp: the input ended without 'exit'");
        return 1;
      }
      take(std::move(*next), batch);
      // Everything already waiting joins the batch, so that a cancel reaches
      // the request it names before that request is answered.
      while (auto more = inbox_.poll()) {
        if (std::holds_alternative<EndOfInput>(*more)) {
          held_.push_back(std::move(*more));
          break;
        }
        take(std::move(*more), batch);
      }
      for (const Incoming& m : batch) {
        if (m.method == "$/cancelRequest" && m.params.is_object() && m.params.contains("id")) {
          cancelled_.insert(m.params["id"].dump());
        }
      }
      // Only faults were read: they have had their answer.
      if (batch.empty()) continue;
    }
    Incoming message = std::move(batch.front());
    batch.pop_front();
    if (!handle(message)) return exit_status_;
  }
}

void Server::take(FrameRead read, std::deque<Incoming>& batch) {
  if (auto* problem = std::get_if<FramingProblem>(&read)) {
    log("tracciato lsp: " + problem->what, 1);
    return;
  }
  auto* framed = std::get_if<FramedMessage>(&read);
  if (framed == nullptr) return;
  if (!framed->passed_over.empty()) log("tracciato lsp: " + framed->passed_over, 1);
  auto classified = classify_message(framed->body);
  if (auto* bad = std::get_if<Malformed>(&classified)) {
    log("tracciato lsp: " + bad->what, 1);
    send_(bad->reply);
    return;
  }
  batch.push_back(std::move(std::get<Incoming>(classified)));
}

bool Server::handle(Incoming& message) {
  if (message.kind == Incoming::Kind::kResponse) return true;  // the server asks nothing
  if (message.kind == Incoming::Kind::kNotification) {
    if (message.method == "exit") {
      exit_status_ = shut_down_ ? 0 : 1;
      return false;
    }
    if (!initialized_ && message.method != "initialized") return true;
    try {
      notice(message.method, message.params);
    } catch (const RpcError& e) {
      log("tracciato lsp: " + message.method + ": " + e.what(), 1);
    } catch (const std::exception& e) {
      log("tracciato lsp: " + message.method + " failed: " + e.what(), 1);
    }
    return true;
  }
  const std::string id_text = message.id.dump();
  if (cancelled_.erase(id_text) > 0) {
    send_(error_reply(message.id, ErrorCode::kRequestCancelled, "the request was cancelled"));
    return true;
  }
  if (!initialized_ && message.method != "initialize") {
    send_(error_reply(message.id, ErrorCode::kServerNotInitialized,
                      "the server is not initialized: send 'initialize' first"));
    return true;
  }
  if (shut_down_) {
    send_(error_reply(message.id, ErrorCode::kInvalidRequest,
                      "the server has shut down: only 'exit' is taken"));
    return true;
  }
  try {
    send_(result_reply(message.id, answer(message.method, message.params)));
  } catch (const RpcError& e) {
    send_(error_reply(message.id, e.code, e.what()));
  } catch (const std::bad_alloc&) {
    log("tracciato lsp: " + message.method + ": not enough memory", 1);
    send_(error_reply(message.id, ErrorCode::kRequestFailed, "not enough memory for this request"));
  } catch (const std::exception& e) {
    log("tracciato lsp: " + message.method + " failed: " + e.what(), 1);
    send_(error_reply(message.id, ErrorCode::kInternalError, e.what()));
  }
  return true;
}

Json Server::initialize(const Json& params) {
  if (initialized_) throw RpcError(ErrorCode::kInvalidRequest, "the server is initialized already");
  const Json* encodings = nullptr;
  if (params.is_object()) {
    const auto caps = params.find("capabilities");
    if (caps != params.end() && caps->is_object()) {
      const auto general = caps->find("general");
      if (general != caps->end() && general->is_object()) {
        const auto list = general->find("positionEncodings");
        if (list != general->end() && list->is_array()) encodings = &*list;
      }
    }
  }
  // UTF-16 is every client's; UTF-8 only when offered.
  encoding_ = PositionEncoding::kUtf16;
  if (encodings != nullptr) {
    for (const Json& e : *encodings) {
      if (e == "utf-8") encoding_ = PositionEncoding::kUtf8;
    }
  }
  initialized_ = true;
  const Json capabilities = {
      {"positionEncoding", encoding_ == PositionEncoding::kUtf8 ? "utf-8" : "utf-16"},
      {"textDocumentSync",
       {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
      {"hoverProvider", true},
      {"completionProvider", {{"triggerCharacters", Json::array()}}},
      {"signatureHelpProvider", {{"triggerCharacters", {","}}, {"retriggerCharacters", {","}}}},
      {"definitionProvider", true},
      {"documentSymbolProvider", true},
      {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
      {"inlayHintProvider", true},
      {"semanticTokensProvider",
       {{"legend", {{"tokenTypes", semantic_token_types()}, {"tokenModifiers", Json::array()}}},
        {"full", true},
        {"range", true}}}};
  return {{"capabilities", capabilities},
          {"serverInfo", {{"name", "tracciato"}, {"version", version_}}}};
}

Json Server::answer(const std::string& method, const Json& params) {
  if (method == "initialize") return initialize(params);
  if (method == "shutdown") {
    shut_down_ = true;
    return nullptr;
  }
  if (method == "textDocument/hover") return hover(place_of(params), params);
  if (method == "textDocument/signatureHelp") return signature_help(place_of(params), params);
  if (method == "textDocument/inlayHint") return inlay_hints(place_of(params), params);
  if (method == "textDocument/completion") return completion(place_of(params), params);
  if (method == "textDocument/documentSymbol") return document_symbols(place_of(params));
  if (method == "textDocument/definition") return definition(place_of(params), params);
  if (method == "textDocument/codeAction") return code_actions(place_of(params), params);
  if (method == "textDocument/semanticTokens/full") return semantic_tokens(place_of(params), {});
  if (method == "textDocument/semanticTokens/range") {
    return semantic_tokens(place_of(params), range_of_request(params));
  }
  throw RpcError(ErrorCode::kMethodNotFound, "the server does not answer '" + method + "'");
}

void Server::notice(const std::string& method, const Json& params) {
  if (method == "initialized" || method == "$/cancelRequest" || method == "$/setTrace") return;
  if (method == "textDocument/didOpen") {
    const Json& doc = object_member(params, "textDocument");
    workspace_.open(string_member(doc, "uri"), integer_member(doc, "version"),
                    string_member(doc, "text"));
    mark_all_dirty();
    return;
  }
  if (method == "textDocument/didChange") {
    const std::string uri = uri_of(params);
    OpenDocument* doc = workspace_.find(uri);
    if (doc == nullptr)
      throw RpcError(ErrorCode::kInvalidParams, "a change to a document not open");
    std::vector<EditorText::Change> changes;
    for (const Json& change : member(params, "contentChanges", Json::value_t::array)) {
      changes.push_back({optional_range(change), string_member(change, "text")});
    }
    try {
      doc->change(changes, encoding_);
    } catch (const std::out_of_range& e) {
      // The document stays as it was; the editor's next full text mends it.
      throw RpcError(ErrorCode::kInvalidParams,
                     std::string("a change outside the document: ") + e.what());
    }
    doc->version = integer_member(object_member(params, "textDocument"), "version");
    workspace_.touch(*doc);
    mark_all_dirty();
    return;
  }
  if (method == "textDocument/didClose") {
    const std::string uri = uri_of(params);
    workspace_.close(uri);
    dirty_.erase(uri);
    published_.erase(uri);
    send_(notification("textDocument/publishDiagnostics",
                       {{"uri", uri}, {"diagnostics", Json::array()}}));
    mark_all_dirty();
    forget_unused_analyses();
    return;
  }
  if (method == "textDocument/didSave" || method == "workspace/didChangeWatchedFiles") {
    workspace_.disk_changed();
    mark_all_dirty();
    return;
  }
  if (!starts_with(method, "$/"))
    log("tracciato lsp: passed over the notification '" + method + "'");
}

void Server::mark_all_dirty() {
  for (const auto& [uri, doc] : workspace_.documents()) dirty_.insert(uri);
}

bool Server::messages_waiting() {
  if (!held_.empty()) return true;
  if (auto next = inbox_.poll()) {
    held_.push_back(std::move(*next));
    return true;
  }
  return false;
}

DocumentPlace Server::place_of(const Json& params) {
  const std::string uri = uri_of(params);
  const std::optional<DescriptionPair> pair = workspace_.pair_of(uri);
  if (!pair) {
    throw RpcError(ErrorCode::kRequestFailed,
                   "not a line description (<line>_linea.txt) or a train description "
                   "(<line>_<train>-.txt)");
  }
  const Description role = pair->train_uri == uri ? Description::kTrain : Description::kLine;
  return {analysis_for(*pair), role, encoding_};
}

const PairAnalysis& Server::analysis_for(const DescriptionPair& pair) {
  std::unique_ptr<PairAnalysis>& kept = analyses_[pair.key()];
  if (!kept || kept->generation != workspace_.generation_of(pair)) {
    kept.reset();  // the old model goes before the new one is made
    kept = analyse_pair(workspace_, pair, scans_);
  }
  return *kept;
}

void Server::forget_unused_analyses() {
  std::set<std::string> used;
  for (const auto& [uri, doc] : workspace_.documents()) {
    if (auto pair = workspace_.pair_of(uri)) used.insert(pair->key());
  }
  std::erase_if(analyses_, [&](const auto& entry) { return used.count(entry.first) == 0; });
  std::erase_if(scans_, [&](const auto& entry) { return workspace_.find(entry.first) == nullptr; });
}

void Server::publish_pending() {
  while (!dirty_.empty()) {
    const std::string uri = *dirty_.begin();
    const OpenDocument* doc = workspace_.find(uri);
    const std::optional<DescriptionPair> pair = doc ? workspace_.pair_of(uri) : std::nullopt;
    if (!pair) {
      dirty_.erase(uri);
      continue;
    }
    const std::string generation = workspace_.generation_of(*pair);
    const auto published = published_.find(uri);
    if (published != published_.end() && published->second == generation) {
      dirty_.erase(uri);
      continue;
    }
    const PairAnalysis& analysis = analysis_for(*pair);
    // Whatever came in meanwhile goes first: a change makes this analysis
    // stale, and its results are dropped.
    if (messages_waiting()) return;
    dirty_.erase(uri);
    const Description role = pair->train_uri == uri ? Description::kTrain : Description::kLine;
    send_(notification("textDocument/publishDiagnostics",
                       diagnostics_params({analysis, role, encoding_}, doc->version)));
    published_[uri] = generation;
  }
  forget_unused_analyses();
}

int serve_standard_streams(std::string version) {
  use_binary_standard_streams();
  ThreadedInbox inbox(std::make_unique<StandardInput>());
  bool output_open = true;
  Server server(
      inbox,
      [&](std::string_view body) {
        if (output_open) output_open = write_standard_output(frame_message(body));
      },
      [](std::string_view line) { print_err(std::string(line) + "\n"); }, std::move(version));
  return server.run();
}

}  // namespace tracciato::lsp
