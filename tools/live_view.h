// `tracciato view LINE TRAIN --serve`: the route view served on the loopback
// address and drawn again at each save of either description. A save that
// does not compile shows its problems over the drawing of the last one that
// did; the page in the browser takes each new revision and keeps the range
// it shows.
#pragma once

#include <functional>
#include <string>

#include "tools/view_command.h"

namespace tracciato {

// Serves until `keep_watching` says no (the command: until interrupted);
// `on_address` hears the page's address once it is served. Returns the exit
// status: 4 when the server cannot start.
int run_live_view(
    const ViewArguments& args, const std::function<bool()>& keep_watching = [] { return true; },
    const std::function<void(const std::string&)>& on_address = {});

}  // namespace tracciato
