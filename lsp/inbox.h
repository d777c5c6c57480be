// Where the server takes its messages from. A person typing sends a change
// at a time; an editor replaying a file's history sends a flood. The server
// analyses only when nothing is waiting, so a flood costs one analysis.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "lsp/message_framing.h"

namespace tracciato::lsp {

class Inbox {
 public:
  virtual ~Inbox() = default;
  // The next message if one is waiting; nullopt when none is yet.
  virtual std::optional<FrameRead> poll() = 0;
  // The next message, waiting for it.
  virtual FrameRead wait() = 0;
};

// Every message of a text in turn. With `idle_between`, poll() finds nothing
// after each message, as when a person pauses; without, all are waiting at
// once, as in a flood. Either way the editor pauses before it goes away.
class ScriptedInbox final : public Inbox {
 public:
  ScriptedInbox(std::string_view text, bool idle_between);
  std::optional<FrameRead> poll() override;
  FrameRead wait() override;

 private:
  TextSource source_;
  MessageReader reader_;
  bool idle_between_;
  bool idle_ = false;
  std::optional<FrameRead> ahead_;  // read, not yet handed out
};

// Messages read from a byte source by a thread of their own. The thread
// stops reading while the messages waiting hold more than a bound, so a
// client that floods the server is slowed, and memory stays bounded.
class ThreadedInbox final : public Inbox {
 public:
  explicit ThreadedInbox(std::unique_ptr<ByteSource> source);
  ~ThreadedInbox() override;
  std::optional<FrameRead> poll() override;
  FrameRead wait() override;

 private:
  // Shared with the reading thread, which may still be blocked in a read
  // when the server has ended: it keeps what it uses alive until the
  // process ends.
  struct Shared {
    explicit Shared(std::unique_ptr<ByteSource> s) : source(std::move(s)), reader(*source) {}
    std::unique_ptr<ByteSource> source;
    MessageReader reader;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<FrameRead> waiting;
    size_t waiting_bytes = 0;
  };
  static void run(const std::shared_ptr<Shared>& shared);
  static FrameRead take_front(Shared& shared);

  std::shared_ptr<Shared> shared_;
};

}  // namespace tracciato::lsp
