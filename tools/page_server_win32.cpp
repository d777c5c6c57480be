// The Windows build serves no page: Debian's cpp-httplib is built for Linux
// only, as a shared library, so there is no server library to build into a
// Windows program. The author writes the page with --out instead and reloads
// it after a save; compile --watch works as on Linux.
#include "tools/page_server.h"

namespace tracciato {

std::unique_ptr<PageServer> serve_page(LivePage&, int) {
  throw ServeUnavailable(
      "view --serve is not available in the Windows build of tracciato; write the page with "
      "view --out and reload it in the browser after each save (compile --watch recompiles "
      "on each save)");
}

}  // namespace tracciato
