#include <unistd.h>

#include <cstdlib>

#include "tools/terminal_colour.h"

namespace tracciato {

bool colour_on_standard_error() {
  return colour_wanted(isatty(STDERR_FILENO) == 1, std::getenv("NO_COLOR"));
}

}  // namespace tracciato
