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

ThreadedInbox::ThreadedInbox(std::unique_ptr<ByteSource> source)
    : shared_(std::make_shared<Shared>(std::move(source))) {
  std::thread([shared = shared_] { run(shared); }).detach();
}

// The reading thread may be blocked in a read of the input: it ends with the
// process, which the server ends as soon as it returns.
ThreadedInbox::~ThreadedInbox() = default;

namespace {

size_t size_of(const FrameRead& read) {
  if (const auto* m = std::get_if<FramedMessage>(&read)) return m->body.size();
  return 0;
}

}  // namespace

void ThreadedInbox::run(const std::shared_ptr<Shared>& shared) {
  for (;;) {
    FrameRead read = shared->reader.next();
    const bool end = std::holds_alternative<EndOfInput>(read);
    std::unique_lock lock(shared->mutex);
    shared->changed.wait(lock, [&] { return shared->waiting_bytes <= kMostWaitingBytes; });
    shared->waiting_bytes += size_of(read);
    shared->waiting.push_back(std::move(read));
    shared->changed.notify_all();
    if (end) return;
  }
}

FrameRead ThreadedInbox::take_front(Shared& shared) {
  FrameRead read = std::move(shared.waiting.front());
  shared.waiting.pop_front();
  shared.waiting_bytes -= size_of(read);
  shared.changed.notify_all();
  return read;
}

std::optional<FrameRead> ThreadedInbox::poll() {
  std::lock_guard lock(shared_->mutex);
  if (shared_->waiting.empty()) return std::nullopt;
  return take_front(*shared_);
}

FrameRead ThreadedInbox::wait() {
  std::unique_lock lock(shared_->mutex);
  shared_->changed.wait(lock, [&] { return !shared_->waiting.empty(); });
  return take_front(*shared_);
}

}  // namespace tracciato::lsp
