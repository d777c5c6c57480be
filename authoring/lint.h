// Lint: the records of a line and a train description that the compiler
// accepts but that are probably mistakes — a key with a typo that silently
// drops its record, a position off the 50-metre grid, records out of order, a
// value too wide for the byte it is stored in, a signal too near the start for
// its approach codes.
//
// The checks work on the records as the parsers see them (description_scan.h)
// and never change or write anything.
#pragma once

#include <string>
#include <vector>

#include "authoring/description_scan.h"

namespace tracciato {

// Every warning for the two descriptions, line description first, each in
// the order of the text.
std::vector<LintWarning> lint_warnings(DescriptionScan line, DescriptionScan train);

// The scans have checked the key fields and the records as they read them
// (key_field_check.h, RecordCheck); this gathers their warnings.

}  // namespace tracciato
