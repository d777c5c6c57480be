// The page server on Linux: the server module the tool carries
// (page_server_module.h), loaded from memory when the author asks to serve.
#include <dlfcn.h>

#include <string_view>

#include "platform/carried_module.h"
#include "tools/page_server.h"
#include "tools/page_server_module.h"

namespace tracciato {
namespace {

// The module's bytes (page_server_module.S); a build without cpp-httplib
// carries none.
extern "C" {
extern const char tracciato_page_server_module_start[] __attribute__((weak));
extern const char tracciato_page_server_module_end[] __attribute__((weak));
}

std::string_view carried_server() {
  if (tracciato_page_server_module_start == nullptr || tracciato_page_server_module_end == nullptr)
    return {};
  return {
      tracciato_page_server_module_start,
      static_cast<size_t>(tracciato_page_server_module_end - tracciato_page_server_module_start)};
}

long long page_of(void* context, void (*sink)(void*, const char*, size_t), void* sink_context) {
  const auto [page, revision] = static_cast<LivePage*>(context)->current();
  sink(sink_context, page.data(), page.size());
  return revision;
}

long long wait_revision(void* context, long long seen, int timeout_ms) {
  return static_cast<LivePage*>(context)->wait_beyond(seen, std::chrono::milliseconds(timeout_ms));
}

class ModuleServer final : public PageServer {
 public:
  ModuleServer(const TracciatoPageServerModule& module, void* server, int port)
      : module_(module), server_(server), port_(port) {}
  ~ModuleServer() override { module_.stop(server_); }
  int port() const override { return port_; }

 private:
  const TracciatoPageServerModule& module_;
  void* server_;
  int port_;
};

}  // namespace

std::unique_ptr<PageServer> serve_page(LivePage& page, int port) {
  const std::string_view bytes = carried_server();
  if (bytes.empty()) {
    throw ServeUnavailable(
        "this tracciato was built without cpp-httplib (Debian: libcpp-httplib-dev), so it cannot "
        "serve; write the page with --out instead");
  }
  void* handle = load_carried_module(bytes, "tracciato_page_server");
  if (handle == nullptr) {
    throw ServeUnavailable("the page server cannot be loaded (" + std::string(module_load_error()) +
                           "); install cpp-httplib (Debian: libcpp-httplib0.11), or write the "
                           "page with --out instead");
  }
  using Entry = const TracciatoPageServerModule* (*)();
  const auto entry = reinterpret_cast<Entry>(dlsym(handle, "tracciato_page_server_module"));
  const TracciatoPageServerModule* module = entry != nullptr ? entry() : nullptr;
  if (module == nullptr) throw ServeUnavailable("the page server module is damaged");
  // The module keeps its own copy of the source.
  const TracciatoPageSource source{&page, page_of, wait_revision};
  char error[256] = "";
  int bound = 0;
  void* server = module->start(port, &source, &bound, error, sizeof error);
  if (server == nullptr) throw ServeUnavailable(error);
  return std::make_unique<ModuleServer>(*module, server, bound);
}

}  // namespace tracciato
