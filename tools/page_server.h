// Serving the route view while the author edits: the page of the latest
// revision, shared between the watch that draws it and the server's threads
// that send it, and the server itself (page_server_linux.cpp; the Windows
// build has none, page_server_win32.cpp).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

namespace tracciato {

// The page of the latest revision. Revisions only grow.
class LivePage {
 public:
  void publish(std::string page, int64_t revision);
  int64_t revision() const;
  // The page with its revision.
  std::pair<std::string, int64_t> current() const;
  // The revision once it is above `seen`, or after `timeout`.
  int64_t wait_beyond(int64_t seen, std::chrono::milliseconds timeout) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::string page_;
  int64_t revision_ = 0;
};

// The server cannot run: no port, or no server in this build.
class ServeUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class PageServer {
 public:
  virtual ~PageServer() = default;
  virtual int port() const = 0;
};

// Serves `page` at http://127.0.0.1:PORT/ and its revisions at /events until
// the server is destroyed; `port` 0 takes any free one. Throws
// ServeUnavailable.
std::unique_ptr<PageServer> serve_page(LivePage& page, int port);

}  // namespace tracciato
