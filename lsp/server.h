// The language server: the author's editor asks, the one analysis of
// compile and lint answers (features.h). Framing, JSON-RPC and the features
// live apart; this is the session between them: the lifecycle, the open
// documents, which analyses are current, and when diagnostics go out.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "lsp/editor_text.h"
#include "lsp/features.h"
#include "lsp/inbox.h"
#include "lsp/json_rpc.h"
#include "lsp/pair_analysis.h"
#include "lsp/workspace.h"

namespace tracciato::lsp {

// Where the server's messages go: each a JSON body, framed by the caller.
using MessageSink = std::function<void(std::string_view body)>;
// Lines for the server's own log (standard error).
using LogSink = std::function<void(std::string_view line)>;

class Server {
 public:
  Server(Inbox& inbox, MessageSink send, LogSink log, std::string version);

  // Serves until "exit" or the end of the input: 0 after "shutdown" then
  // "exit", 1 otherwise.
  int run();

 private:
  void take(FrameRead read, std::deque<Incoming>& batch);
  // false once the session is to end.
  bool handle(Incoming& message);
  Json answer(const std::string& method, const Json& params);
  void notice(const std::string& method, const Json& params);
  void publish_pending();
  bool messages_waiting();

  Json initialize(const Json& params);
  DocumentPlace place_of(const Json& params);
  const PairAnalysis& analysis_for(const DescriptionPair& pair);
  void mark_all_dirty();
  void forget_unused_analyses();
  void log(std::string_view line, int type = 3);

  Inbox& inbox_;
  MessageSink send_;
  LogSink log_;
  std::string version_;
  std::deque<FrameRead> held_;  // read while checking for news, not yet handled

  bool initialized_ = false;
  bool shut_down_ = false;
  int exit_status_ = 1;
  PositionEncoding encoding_ = PositionEncoding::kUtf16;
  std::set<std::string> cancelled_;  // ids of waiting requests, as JSON text

  Workspace workspace_;
  std::map<std::string, std::unique_ptr<PairAnalysis>> analyses_;  // by pair key
  ScanCache scans_;
  std::set<std::string> dirty_;                   // URIs to publish
  std::map<std::string, std::string> published_;  // URI: the generation last published
};

// Runs a server over standard input and output. The status for the process.
int serve_standard_streams(std::string version);

}  // namespace tracciato::lsp
