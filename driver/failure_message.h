// The message a person sees when a run fails on a file: which file, the
// system's reason, and what to do about it, so that a driver who meets a full
// disk knows to free space rather than to report a fault.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "platform/file_replace.h"

namespace tracciato {

// "cannot write FILE: REASON; free some space in FOLDER and RUN_AGAIN" for a
// full disk, with the matching advice for a folder that may not be written
// or does not exist. RUN_AGAIN is e.g. "run the package again".
std::string file_failure_message(const IoError& failure, std::string_view run_again);

// The package's message for any failure that ends its run, beginning with a
// blank as " Errore n. " does, since the message box's caller prefixes the
// program's name.
std::string install_failure_message(const std::exception& failure);

// The package's message when its payload is damaged: nothing was written.
std::string damaged_package_message(std::string_view reason);

}  // namespace tracciato
