// The page server module: the HTTP server of `view --serve`, built over
// Debian's cpp-httplib as a small shared module that the tool carries inside
// itself and loads only to serve (tools/page_server_linux.cpp), so no other
// command loads the library or the ones behind it.
//
// The tool and the module meet only through these C tables: the tool carries
// its own C++ runtime, the module the system's, so no C++ object, exception
// or allocation crosses between them.
#pragma once

#include <cstddef>

extern "C" {

// What the module serves, provided by the tool. Both functions may be called
// from any of the server's threads at once.
struct TracciatoPageSource {
  void* context;
  // Hands the page of the current revision to `sink` and returns that
  // revision.
  long long (*page)(void* context, void (*sink)(void* sink_context, const char* data, size_t size),
                    void* sink_context);
  // Returns the current revision as soon as it is above `seen`, or after
  // about `timeout_ms` milliseconds.
  long long (*wait_revision)(void* context, long long seen, int timeout_ms);
};

struct TracciatoPageServerModule {
  // Starts serving on 127.0.0.1:`port` (0: any free port) on threads of its
  // own. Returns the server, its port in `bound_port`; or null, with the
  // reason in `error` (NUL-terminated, at most `error_size` bytes).
  void* (*start)(int port, const TracciatoPageSource* source, int* bound_port, char* error,
                 size_t error_size);
  // Stops the server and waits for its threads.
  void (*stop)(void* server);
};

// The module's one exported symbol.
const TracciatoPageServerModule* tracciato_page_server_module();
}
