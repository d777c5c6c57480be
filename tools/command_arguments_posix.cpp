#include "tools/command_arguments.h"

namespace tracciato {

std::vector<std::string> utf8_arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void use_utf8_console() {}

}  // namespace tracciato
