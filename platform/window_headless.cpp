#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace tracciato {
namespace {

class HeadlessDesktop final : public Desktop {
 public:
  void show_waiting_window() override {}
  void show_message(std::string_view title, std::string_view text) override {
    std::fprintf(stderr, "%.*s:%.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
  }
};

}  // namespace

std::unique_ptr<Desktop> headless_desktop() { return std::make_unique<HeadlessDesktop>(); }

}  // namespace tracciato
