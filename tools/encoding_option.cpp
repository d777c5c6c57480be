#include "tools/encoding_option.h"

#include <CLI/CLI.hpp>

#include "tools/description_encoding.h"

namespace tracciato {

void add_description_arguments(CLI::App& command, std::string& line_file,
                               std::string& train_file) {
  command.add_option("LINE", line_file, "The line description (<line>_linea.txt)")->required();
  command.add_option("TRAIN", train_file, "The train description (<line>_<train>-.txt)")
      ->required();
}

void add_encoding_option(CLI::App& command, std::string& encoding) {
  command
      .add_option("--encoding", encoding,
                  "The descriptions' encoding: windows-1252 (the default, as the simulator reads "
                  "them) or utf-8 (converted to windows-1252 before compiling)")
      ->check(CLI::IsMember({std::string(kWindows1252Encoding), std::string(kUtf8Encoding)}));
}

}  // namespace tracciato
