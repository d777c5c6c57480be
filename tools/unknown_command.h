// A first argument that names no command gets its own message, with the
// nearest command when the word looks like a typo of one.
#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace tracciato {

// "tracciato: 'compil' is not a command; did you mean 'compile'?" when the
// first argument is neither an option nor one of `app`'s commands; nullopt
// otherwise.
std::optional<std::string> unknown_command_message(const CLI::App& app, int argc,
                                                   const char* const* argv);

}  // namespace tracciato
