// The window module: the FLTK desktop built as a small shared module that the
// install package carries inside itself and loads only when a display is
// there, so a run without one never loads the window system's libraries.
//
// The package and the module meet only through this C table: the package
// carries its own C++ runtime, the module the system's, so no C++ object,
// exception or allocation crosses between them.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/platform.h"

extern "C" {

struct TracciatoDesktopModule {
  // Opens the display; 0 when there is none (nothing else may be called then).
  int (*open_display)();
  void (*show_waiting_window)();
  // A modal message box; returns when the user closes it.
  void (*show_message)(const char* title, const char* text);
};

// The module's one exported symbol.
const TracciatoDesktopModule* tracciato_desktop_module();
}

namespace tracciato {

// The desktop of the window module at `module_file`, its display opened;
// nullptr when the module cannot be loaded or no display opens.
std::unique_ptr<Desktop> open_module_desktop(const std::filesystem::path& module_file);

}  // namespace tracciato
