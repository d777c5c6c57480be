// The install package's desktop on Linux: the window module when a display is
// there, the headless desktop otherwise.
#include <dlfcn.h>

#include <cstdlib>
#include <string>

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

// X finds its display through DISPLAY alone: without it no window can open,
// and the module is not worth loading.
bool display_named() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && display[0] != '\0';
}

}  // namespace

std::unique_ptr<Desktop> open_module_desktop(const std::filesystem::path& module_file) {
  // The module stays loaded for the rest of the run, as its window does.
  void* handle = dlopen(module_file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  using Entry = const TracciatoDesktopModule* (*)();
  const auto entry = reinterpret_cast<Entry>(dlsym(handle, "tracciato_desktop_module"));
  const TracciatoDesktopModule* module = entry != nullptr ? entry() : nullptr;
  if (module == nullptr || module->open_display() == 0) return nullptr;
  return std::make_unique<ModuleDesktop>(*module);
}

std::unique_ptr<Desktop> open_desktop() {
  if (display_named()) {
    // A package whose module is missing still installs, without its window.
    if (std::unique_ptr<Desktop> desktop =
            open_module_desktop(program_folder() / kDesktopModuleFile)) {
      return desktop;
    }
  }
  return headless_desktop();
}

}  // namespace tracciato
