// The exit statuses of every `tracciato` command, one table for all of them,
// so a script can tell "the descriptions have problems" from "the command was
// given wrongly" and from "a file could not be read or written".
#pragma once

#include <string_view>

namespace tracciato {

// Done: the files were written, or the check found nothing worth failing
// for (warnings alone fail only under --strict).
inline constexpr int kExitSuccess = 0;
// The descriptions have problems: a compile error, a stop before the files
// (1250, 1251, no route), a character a file's code page cannot carry, or,
// under --strict, a warning; scenario files hold bytes no description gives
// (decompile); two scenarios differ (diff).
inline constexpr int kExitProblems = 1;
// The command line is wrong: an unknown command or option, a missing
// argument, a name that cannot be used; or an output's name is held by what
// is not an earlier output (a folder, a link, an input, someone's file).
inline constexpr int kExitUsage = 2;
// A scenario file or package is damaged or does not fit its format.
inline constexpr int kExitDamaged = 3;
// A file cannot be read or written, standard output included, or the
// machine has not the memory the input needs.
inline constexpr int kExitIo = 4;

// The table above as the --help footer shows it.
inline constexpr std::string_view kExitStatusHelp =
    "Exit status (every command):\n"
    "  0  done; warnings alone do not fail unless --strict is given\n"
    "  1  problems found: a compile error or stop, a character the code page cannot carry,\n"
    "     a warning under --strict, bytes no description gives (decompile), scenarios\n"
    "     that differ (diff)\n"
    "  2  usage error: unknown command or option, missing argument, unusable name,\n"
    "     an output name held by a folder, a link, an input or someone else's file\n"
    "  3  a scenario file or package is damaged or does not fit its format\n"
    "  4  a file cannot be read or written, or there is not the memory for it\n"
    "Diagnostics go to standard error, followed by a summary line; with --json, standard\n"
    "output carries the JSON object alone. Colour only when standard error is a terminal\n"
    "and NO_COLOR is not set.";

}  // namespace tracciato
