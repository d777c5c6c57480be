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

struct LintWarning {
  Description description = Description::kNone;
  FieldSite site;  // line 0 when the warning is about the whole description
  std::string message;

  friend bool operator==(const LintWarning&, const LintWarning&) = default;
};

// Every warning for the two descriptions, line description first, each in
// the order of the text.
std::vector<LintWarning> lint_warnings(const DescriptionScan& line, const DescriptionScan& train);

// The three groups of checks; each returns its warnings in no particular
// order.
std::vector<LintWarning> lint_key_fields(const DescriptionScan& scan);
std::vector<LintWarning> lint_positions(const DescriptionScan& line, const DescriptionScan& train);
std::vector<LintWarning> lint_values(const DescriptionScan& scan);

}  // namespace tracciato
