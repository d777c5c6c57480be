// The page server module's entry (see page_server_module.h): serves the page
// at "/" and its revisions as server-sent events at "/events", on the
// loopback address only, and nothing else: no file is ever named by a
// request. A request whose Host is not this server's own loopback name is
// refused, so that a web page elsewhere cannot reach it through a name that
// resolves to 127.0.0.1 (DNS rebinding). Nothing may escape into the tool,
// not even an exception.
#include "tools/page_server_module.h"

#include <httplib.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace {

constexpr const char* kLoopback = "127.0.0.1";
constexpr int kEventWaitMs = 1000;

struct PageServer {
  httplib::Server server;
  std::thread thread;
  std::atomic<bool> stopping{false};
  TracciatoPageSource source{};
  int port = 0;
};

bool own_host(const httplib::Request& request, int port) {
  const std::string host = request.get_header_value("Host");
  const std::string suffix = ":" + std::to_string(port);
  return host == kLoopback + suffix || host == "localhost" + suffix;
}

void sink_to_string(void* context, const char* data, size_t size) {
  static_cast<std::string*>(context)->append(data, size);
}

void set_common_headers(httplib::Response& response) {
  response.set_header("Cache-Control", "no-store");
  response.set_header("X-Content-Type-Options", "nosniff");
}

void routes(PageServer& s) {
  s.server.set_pre_routing_handler(
      [&s](const httplib::Request& request, httplib::Response& response) {
        if (own_host(request, s.port)) return httplib::Server::HandlerResponse::Unhandled;
        response.status = 403;
        set_common_headers(response);
        response.set_content(
            "403 Forbidden: this server answers only to 127.0.0.1:" + std::to_string(s.port) +
                " and localhost:" + std::to_string(s.port) + "\n",
            "text/plain; charset=utf-8");
        return httplib::Server::HandlerResponse::Handled;
      });
  s.server.Get("/", [&s](const httplib::Request&, httplib::Response& response) {
    std::string page;
    s.source.page(s.source.context, sink_to_string, &page);
    set_common_headers(response);
    // The page needs nothing from anywhere but itself and its events.
    response.set_header("Content-Security-Policy",
                        "default-src 'none'; script-src 'unsafe-inline'; style-src "
                        "'unsafe-inline'; img-src data:; connect-src 'self'");
    response.set_content(page, "text/html; charset=utf-8");
  });
  s.server.Get("/events", [&s](const httplib::Request&, httplib::Response& response) {
    set_common_headers(response);
    response.set_chunked_content_provider(
        "text/event-stream", [&s, seen = -1LL](size_t, httplib::DataSink& sink) mutable {
          if (s.stopping) return false;
          // The revision at hand first, then each new one as it comes; a
          // comment line every second finds a reader that has gone.
          const long long revision =
              seen < 0 ? s.source.wait_revision(s.source.context, -1, 0)
                       : s.source.wait_revision(s.source.context, seen, kEventWaitMs);
          if (s.stopping) return false;
          std::string message = ":\n\n";
          if (revision != seen) {
            seen = revision;
            message = "event: revision\ndata: " + std::to_string(revision) + "\n\n";
          }
          return sink.write(message.data(), message.size());
        });
  });
}

void copy_error(const std::string& text, char* error, size_t size) {
  if (size == 0) return;
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(error, text.data(), n);
  error[n] = '\0';
}

void* start(int port, const TracciatoPageSource* source, int* bound_port, char* error,
            size_t error_size) {
  try {
    auto s = std::make_unique<PageServer>();
    s->source = *source;
    const int bound = port == 0 ? s->server.bind_to_any_port(kLoopback)
                                : (s->server.bind_to_port(kLoopback, port) ? port : -1);
    if (bound <= 0) {
      copy_error("cannot listen on " + std::string(kLoopback) + ":" + std::to_string(port) +
                     " (is another server using that port?)",
                 error, error_size);
      return nullptr;
    }
    s->port = bound;
    routes(*s);
    PageServer* server = s.get();
    s->thread = std::thread([server] { server->server.listen_after_bind(); });
    *bound_port = bound;
    return s.release();
  } catch (const std::exception& e) {
    copy_error(e.what(), error, error_size);
    return nullptr;
  } catch (...) {
    copy_error("the server cannot start", error, error_size);
    return nullptr;
  }
}

void stop(void* server) {
  auto* s = static_cast<PageServer*>(server);
  try {
    s->stopping = true;
    s->server.stop();
    if (s->thread.joinable()) s->thread.join();
  } catch (...) {
  }
  delete s;
}

constexpr TracciatoPageServerModule kModule{start, stop};

}  // namespace

extern "C" __attribute__((visibility("default"))) const TracciatoPageServerModule*
tracciato_page_server_module() {
  return &kModule;
}
