// The install package's desktop on Linux: the window module when a display is
// there, the headless desktop otherwise.
//
// A package travels as one file, so the install program carries the module's
// bytes inside itself (platform/carried_module.h).
#include <dlfcn.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/carried_module.h"
#include "platform/desktop_module.h"

namespace tracciato {
namespace {

class ModuleDesktop final : public Desktop {
 public:
  explicit ModuleDesktop(const TracciatoDesktopModule& module) : module_(module) {}

  void show_waiting_window() override { module_.show_waiting_window(); }
  void show_message(std::string_view title, std::string_view text) override {
    module_.show_message(std::string(title).c_str(), std::string(text).c_str());
  }

 private:
  const TracciatoDesktopModule& module_;
};

// The module's bytes, linked into the install program only (window_module.S);
// other programs that share this code carry none.
extern "C" {
extern const char tracciato_window_module_start[] __attribute__((weak));
extern const char tracciato_window_module_end[] __attribute__((weak));
}

std::string_view carried_module() {
  if (tracciato_window_module_start == nullptr || tracciato_window_module_end == nullptr) return {};
  return {tracciato_window_module_start,
          static_cast<size_t>(tracciato_window_module_end - tracciato_window_module_start)};
}

// X finds its display through DISPLAY alone: without it no window can open,
// and the module is not worth loading.
bool display_named() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && display[0] != '\0';
}

// The desktop of a loaded window module, its display opened; nullptr when
// the module is missing or no display opens. The module stays loaded for the
// rest of the run, as its window does.
std::unique_ptr<Desktop> module_desktop(void* handle) {
  if (handle == nullptr) return nullptr;
  using Entry = const TracciatoDesktopModule* (*)();
  const auto entry = reinterpret_cast<Entry>(dlsym(handle, "tracciato_desktop_module"));
  const TracciatoDesktopModule* module = entry != nullptr ? entry() : nullptr;
  if (module == nullptr || module->open_display() == 0) return nullptr;
  return std::make_unique<ModuleDesktop>(*module);
}

}  // namespace

std::unique_ptr<Desktop> open_module_desktop(const std::filesystem::path& module_file) {
  return module_desktop(load_module_file(module_file));
}

std::unique_ptr<Desktop> open_desktop() {
  if (display_named()) {
    // A machine without the window's libraries still installs, without it.
    const std::string_view module = carried_module();
    if (std::unique_ptr<Desktop> desktop =
            module.empty()
                ? nullptr
                : module_desktop(load_carried_module(module, "tracciato_desktop_fltk"))) {
      return desktop;
    }
  }
  return headless_desktop();
}

}  // namespace tracciato
