// Shows the install package's waiting window and then, like the package,
// works on without handling any message for a while: what a screenshot taken
// meanwhile shows is what the package's users see.
//
// Usage: show_waiting_window [SECONDS]   (10 by default)
#include <windows.h>

#include <cstdlib>

#include "platform/platform.h"

int main(int argc, char** argv) {
  constexpr DWORD kDefaultSeconds = 10;
  const DWORD seconds =
      argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)) : kDefaultSeconds;
  std::unique_ptr<tracciato::Desktop> desktop = tracciato::open_desktop();
  desktop->show_waiting_window();
  Sleep(seconds * 1000);
  return 0;
}
