#include "tools/terminal_colour.h"

namespace tracciato {

bool colour_wanted(bool standard_error_is_terminal, const char* no_color) {
  if (no_color != nullptr && no_color[0] != '\0') return false;
  return standard_error_is_terminal;
}

}  // namespace tracciato
