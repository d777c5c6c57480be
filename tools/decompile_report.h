// What `tracciato decompile` tells the author: the fields of the scenario
// files that no description gives, one a line on standard error, or the whole
// result as one JSON object on standard output.
#pragma once

#include <string>
#include <vector>

#include "authoring/decompile.h"
#include "tools/scenario_sources.h"

namespace tracciato {

// "FILE:byte OFFSET: PLACE FIELD = STORED: WHY", one a line, in file order.
std::string refusal_lines(const std::vector<Refusal>& refusals, const ScenarioSource& source);

// A sentence for a reading that stopped before the descriptions' end, or ""
// when the files come from a compile that read both to their end.
std::string reading_note(const DecompileResult& result);

// One JSON object on one line: proven, line_name, train_number, reading,
// written (the descriptions' paths), refusals (file, record, place, field,
// offset, stored, why).
std::string decompile_report_json(const DecompileResult& result, const ScenarioSource& source,
                                  const std::vector<std::string>& written);

}  // namespace tracciato
