// Whether the messages on standard error may be coloured: only when standard
// error is a terminal, and never when the NO_COLOR environment variable is
// set to anything but the empty text (no-color.org).
#pragma once

namespace tracciato {

// Asks the system once; on Windows also switches the console to the escape
// sequences the colours use, and answers false when it cannot.
bool colour_on_standard_error();

// The rule above, for a given terminal answer and NO_COLOR value (nullptr
// when unset).
bool colour_wanted(bool standard_error_is_terminal, const char* no_color);

}  // namespace tracciato
