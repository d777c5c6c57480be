#include "platform/platform.h"

namespace tracciato {

// Builds without a window system: every run is headless.
std::unique_ptr<Desktop> open_desktop() { return headless_desktop(); }

}  // namespace tracciato
