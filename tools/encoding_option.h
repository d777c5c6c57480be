// The `--encoding` option of every command that reads an author's
// descriptions: compile, lint and plot take them the same way.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace tracciato {

// Adds `--encoding windows-1252|utf-8` to `command`, stored in `encoding`.
void add_encoding_option(CLI::App& command, std::string& encoding);

}  // namespace tracciato
