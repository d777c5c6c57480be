#include "lsp/inbox.h"

#include <utility>

namespace tracciato::lsp {
namespace {

// Beyond this many bytes of messages waiting, reading pauses.
constexpr size_t kMostWaitingBytes = size_t{256} << 20;

}  // namespace

ScriptedInbox::ScriptedInbox(std::string_view text, bool idle_between)
    : source_(text), reader_(source_), idle_between_(idle_between) {}

std::optional<FrameRead> ScriptedInbox::poll() {
  if (idle_between_ && idle_) return std::nullopt;
  if (!ahead_) ahead_ = reader_.next();
  // The editor goes away only once the server has nothing left to do.
  if (std::holds_alternative<EndOfInput>(*ahead_)) return std::nullopt;
  return wait();
}

FrameRead ScriptedInbox::wait() {
  idle_ = true;
  if (ahead_) return std::exchange(ahead_, std::nullopt).value();
  return reader_.next();
}

ThreadedInbox::ThreadedInbox(ByteSource& source) : reader_(source) {
  thread_ = std::thread([this] { run(); });
}

ThreadedInbox::~ThreadedInbox() {
  // The reading thread may be blocked in a read of the input: it is left to
  // end with the process, which the server ends as soon as it returns.
  thread_.detach();
}

size_t ThreadedInbox::size_of(const FrameRead& read) {
  if (const auto* m = std::get_if<FramedMessage>(&read)) return m->body.size();
  return 0;
}

void ThreadedInbox::run() {
  for (;;) {
    FrameRead read = reader_.next();
    const bool end = std::holds_alternative<EndOfInput>(read);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return waiting_bytes_ <= kMostWaitingBytes; });
    waiting_bytes_ += size_of(read);
    waiting_.push_back(std::move(read));
    changed_.notify_all();
    if (end) return;
  }
}

std::optional<FrameRead> ThreadedInbox::poll() {
  std::lock_guard lock(mutex_);
  if (waiting_.empty()) return std::nullopt;
  FrameRead read = std::move(waiting_.front());
  waiting_.pop_front();
  waiting_bytes_ -= size_of(read);
  changed_.notify_all();
  return read;
}

FrameRead ThreadedInbox::wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !waiting_.empty(); });
  FrameRead read = std::move(waiting_.front());
  waiting_.pop_front();
  waiting_bytes_ -= size_of(read);
  changed_.notify_all();
  return read;
}

}  // namespace tracciato::lsp
