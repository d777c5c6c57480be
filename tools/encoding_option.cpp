#include "tools/encoding_option.h"

#include <CLI/CLI.hpp>

#include "tools/description_encoding.h"

namespace tracciato {

void add_encoding_option(CLI::App& command, std::string& encoding) {
  command
      .add_option("--encoding", encoding,
                  "The descriptions' encoding: windows-1252 (the default, as the simulator reads "
                  "them) or utf-8 (converted to windows-1252 before compiling)")
      ->check(CLI::IsMember({std::string(kWindows1252Encoding), std::string(kUtf8Encoding)}));
}

}  // namespace tracciato
