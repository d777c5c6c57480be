// The command line and the console as UTF-8 text. On Linux the arguments
// arrive in the user's encoding, UTF-8; on Windows the program reads the wide
// command line (argv holds it in the ANSI code page, which loses every
// character outside it) and converts each argument to UTF-8, so names like
// "Città" arrive intact whatever the system's code page.
#pragma once

#include <string>
#include <vector>

namespace tracciato {

// The program's arguments, argv[0] first.
std::vector<std::string> utf8_arguments(int argc, char** argv);

// What the tool prints is UTF-8 too; a Windows console is told so, so that
// "Città" in a message reads as written. Nothing to do elsewhere.
void use_utf8_console();

}  // namespace tracciato
