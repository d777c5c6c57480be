#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tools/terminal_colour.h"

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

namespace tracciato {

bool colour_on_standard_error() {
  if (!colour_wanted(_isatty(_fileno(stderr)) != 0, std::getenv("NO_COLOR"))) return false;
  // A console shows the escape sequences only once asked to.
  const HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (console == INVALID_HANDLE_VALUE || !GetConsoleMode(console, &mode)) return false;
  return SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace tracciato
