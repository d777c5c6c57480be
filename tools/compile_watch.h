// `tracciato compile --watch`: compiles, then compiles again at every save of
// either description, printing one status line per run after its messages.
// A run that does not compile writes nothing, so the files of the last one
// that did stay whole; one that does replaces them all together.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "tools/compile_command.h"

namespace tracciato {

// Runs until `keep_watching` says no; `on_run` hears each run as it ends.
// Returns the status of the last run.
int run_compile_watch(const CompileArguments& args,
                      const std::pair<std::string, std::string>& names,
                      const std::function<bool()>& keep_watching,
                      const std::function<void(const CompileRun&)>& on_run = {});

}  // namespace tracciato
