// The language server's answer to an edit against starting `tracciato lint`:
// how long after an editor sends a change to the train description the
// server's diagnostics for it arrive, paired in one run with a lint process
// of the same two files. Each pair alternates which goes first; prints the
// median of each and the median ratio with its min and max.
//
// Usage: lsp_latency TOOL LINE TRAIN PAIRS
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "lsp/document_uri.h"
#include "lsp/message_framing.h"
#include "platform/file_replace.h"
#include "text/windows1252.h"

extern char** environ;

namespace tracciato::bench {
namespace {

using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

class FdSource final : public lsp::ByteSource {
 public:
  explicit FdSource(int fd) : fd_(fd) {}
  size_t read(char* buffer, size_t size) override {
    const ssize_t n = ::read(fd_, buffer, size);
    return n > 0 ? static_cast<size_t>(n) : 0;
  }

 private:
  int fd_;
};

void write_all(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      std::perror("lsp_latency: write");
      std::exit(1);
    }
    done += static_cast<size_t>(n);
  }
}

pid_t spawn(const std::vector<std::string>& args, posix_spawn_file_actions_t* actions) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0) {
    std::perror("lsp_latency: spawn");
    std::exit(1);
  }
  return pid;
}

double lint_seconds(const std::string& tool, const std::string& line, const std::string& train) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  const pid_t pid = spawn({tool, "lint", line, train}, &actions);
  int status = 0;
  waitpid(pid, &status, 0);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
    std::fprintf(stderr, "lsp_latency: lint failed\n");
    std::exit(1);
  }
  return seconds;
}

class ServerProcess {
 public:
  explicit ServerProcess(const std::string& tool) {
    int in[2];
    int out[2];
    if (pipe(in) != 0 || pipe(out) != 0) std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_ = spawn({tool, "lsp"}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    to_ = in[1];
    source_ = std::make_unique<FdSource>(out[0]);
    reader_ = std::make_unique<lsp::MessageReader>(*source_);
  }

  void send(const Json& message) { write_all(to_, lsp::frame_message(message.dump())); }

  // Waits for the diagnostics of `uri` at `version`.
  void await_diagnostics(const std::string& uri, int version) {
    for (;;) {
      lsp::FrameRead read = reader_->next();
      auto* m = std::get_if<lsp::FramedMessage>(&read);
      if (m == nullptr) {
        std::fprintf(stderr, "lsp_latency: the server ended\n");
        std::exit(1);
      }
      const Json body = Json::parse(m->body);
      if (body.value("method", "") == "textDocument/publishDiagnostics" &&
          body["params"]["uri"] == uri && body["params"]["version"] == version) {
        return;
      }
    }
  }

  void end() {
    send({{"jsonrpc", "2.0"}, {"id", 2}, {"method", "shutdown"}});
    send({{"jsonrpc", "2.0"}, {"method", "exit"}});
    close(to_);
    int status = 0;
    waitpid(pid_, &status, 0);
  }

 private:
  pid_t pid_ = 0;
  int to_ = -1;
  std::unique_ptr<FdSource> source_;
  std::unique_ptr<lsp::MessageReader> reader_;
};

Json open_message(const std::string& uri, const std::string& path) {
  return {{"jsonrpc", "2.0"},
          {"method", "textDocument/didOpen"},
          {"params",
           {{"textDocument",
             {{"uri", uri},
              {"languageId", "text"},
              {"version", 1},
              {"text", windows1252_to_utf8(read_file(path))}}}}}};
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace
}  // namespace tracciato::bench

int main(int argc, char** argv) {
  using namespace tracciato;
  using namespace tracciato::bench;
  if (argc != 5) {
    std::fprintf(stderr, "usage: lsp_latency TOOL LINE TRAIN PAIRS\n");
    return 2;
  }
  const std::string tool = argv[1];
  const std::string line = std::filesystem::absolute(argv[2]).string();
  const std::string train = std::filesystem::absolute(argv[3]).string();
  const int pairs = std::atoi(argv[4]);
  const std::string line_uri = lsp::uri_of_path(line);
  const std::string train_uri = lsp::uri_of_path(train);
  int lines = 0;
  for (char c : read_file(train)) lines += c == '\n';

  ServerProcess server(tool);
  server.send({{"jsonrpc", "2.0"},
               {"id", 1},
               {"method", "initialize"},
               {"params", {{"capabilities", Json::object()}}}});
  server.send({{"jsonrpc", "2.0"}, {"method", "initialized"}, {"params", Json::object()}});
  server.send(open_message(line_uri, line));
  server.send(open_message(train_uri, train));
  server.await_diagnostics(train_uri, 1);

  std::vector<double> edits;
  std::vector<double> lints;
  std::vector<double> ratios;
  for (int pair = 0; pair < pairs; ++pair) {
    // A comment line added at the end, then taken away again: each change
    // re-analyses the whole pair.
    const int version = pair + 2;
    const bool add = pair % 2 == 0;
    const Json range = {{"start", {{"line", lines}, {"character", 0}}},
                        {"end", {{"line", add ? lines : lines + 1}, {"character", 0}}}};
    const Json change = {
        {"jsonrpc", "2.0"},
        {"method", "textDocument/didChange"},
        {"params",
         {{"textDocument", {{"uri", train_uri}, {"version", version}}},
          {"contentChanges",
           Json::array({{{"range", range}, {"text", add ? "- nota\r\n" : ""}}})}}}};
    const auto time_edit = [&] {
      const auto start = Clock::now();
      server.send(change);
      server.await_diagnostics(train_uri, version);
      return std::chrono::duration<double>(Clock::now() - start).count();
    };
    double edit = 0;
    double lint = 0;
    if (pair % 2 == 0) {
      edit = time_edit();
      lint = lint_seconds(tool, line, train);
    } else {
      lint = lint_seconds(tool, line, train);
      edit = time_edit();
    }
    edits.push_back(edit);
    lints.push_back(lint);
    ratios.push_back(edit / lint);
  }
  server.end();
  std::printf(
      "language server, change to diagnostics: %.1f ms; tracciato lint process: %.1f ms; "
      "ratio %.2fx (min %.2f, max %.2f) over %d pairs\n",
      median(edits) * 1000, median(lints) * 1000, median(ratios),
      *std::min_element(ratios.begin(), ratios.end()),
      *std::max_element(ratios.begin(), ratios.end()), pairs);
  return 0;
}
