#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "tools/terminal_colour.h"

namespace tracciato {

bool colour_on_standard_error() {
  // A terminal that says it is dumb shows escape codes as text.
  const char* term = std::getenv("TERM");
  const bool dumb = term != nullptr && std::string_view(term) == "dumb";
  return colour_wanted(isatty(STDERR_FILENO) == 1 && !dumb, std::getenv("NO_COLOR"));
}

}  // namespace tracciato
