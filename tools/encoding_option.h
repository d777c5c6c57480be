// The arguments of every command that reads an author's descriptions:
// compile, lint, plot, view and package take them the same way.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace tracciato {

// Adds the two descriptions, LINE and TRAIN, both required.
void add_description_arguments(CLI::App& command, std::string& line_file,
                               std::string& train_file);

// Adds `--encoding windows-1252|utf-8` to `command`, stored in `encoding`.
void add_encoding_option(CLI::App& command, std::string& encoding);

}  // namespace tracciato
