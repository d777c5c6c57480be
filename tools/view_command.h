// `tracciato view LINE TRAIN --out route.html`: compiles the descriptions in
// memory and writes the route view, one self-contained interactive page.
// `tracciato view LINE TRAIN --serve [--port N]` serves that page on the
// loopback address instead and draws it again at every save of either
// description, keeping the range in view.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace tracciato {

struct ViewArguments {
  std::string line_file;
  std::string train_file;
  std::string out_file;
  bool serve = false;
  int port = 0;  // 0: any free port
  std::string encoding = "windows-1252";
};

// Declares the subcommand and its options on `app`; parsing fills `args`.
CLI::App* add_view_command(CLI::App& app, ViewArguments& args);

// Runs the parsed command; returns the exit status (tools/exit_status.h).
// With --out: 0 when the page was written from a clean compile, 1 when it
// was written but the compile recorded a problem or stopped, 4 when a file
// cannot be read or written. With --serve it runs until interrupted.
int run_view_command(const ViewArguments& args);

}  // namespace tracciato
