// What changed between two scenarios, by meaning: both are read back into
// records (authoring/decompile.h) and the records compared kind by kind,
// value by value ("signal at 6850 m: s1 4 -> 5", "station BELMIRA moved
// 25200 -> 25300 m"). Where no record explains the bytes of one side, the
// fields themselves are compared.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "authoring/decompile.h"

namespace tracciato {

struct ScenarioChange {
  std::string record;  // "signal at 6850 m", "station BELMIRA", "line name", …
  std::string field;   // the value's name in the grammar; empty for a whole record
  std::string from;    // as written in a description; empty when added
  std::string to;      // empty when removed
  std::string text;    // the change as one sentence
};

struct ScenarioDiff {
  bool equal = false;  // every byte of the files alike
  std::vector<ScenarioChange> changes;
};

ScenarioDiff diff_scenarios(const ScenarioFiles& a, const ScenarioFiles& b);

}  // namespace tracciato
