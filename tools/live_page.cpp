#include "tools/page_server.h"

namespace tracciato {

void LivePage::publish(std::string page, int64_t revision) {
  {
    std::lock_guard lock(mutex_);
    page_ = std::move(page);
    revision_ = revision;
  }
  changed_.notify_all();
}

int64_t LivePage::revision() const {
  std::lock_guard lock(mutex_);
  return revision_;
}

std::pair<std::string, int64_t> LivePage::current() const {
  std::lock_guard lock(mutex_);
  return {page_, revision_};
}

int64_t LivePage::wait_beyond(int64_t seen, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [&] { return revision_ > seen; });
  return revision_;
}

}  // namespace tracciato
