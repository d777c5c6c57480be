// The long form of every compile problem code, as `tracciato explain CODE`
// prints it and the authors' reference (docs/description_format.md) lists it:
// what the code means, its common causes, a wrong description line and a
// right one, and what to do. The short sentence of each code stays
// error_message (diagnostics.h); this table adds the rest.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "compiler/scenario_model.h"

namespace tracciato {

struct CodeExplanation {
  int32_t code;
  // The description the examples are lines of; kNone when the problem is
  // the file itself.
  Description description;
  std::string_view meaning;
  std::span<const std::string_view> causes;
  std::string_view wrong;  // a line that gives the code
  std::string_view right;  // the same line mended
  std::string_view fix;
};

// Every code the compiler can record, in ascending order.
std::span<const CodeExplanation> code_explanations();

// The explanation of `code`; nullptr for a code the compiler never records.
const CodeExplanation* code_explanation(int32_t code);

// The whole text `tracciato explain` prints: the code and its sentence, then
// what it means, the causes, the wrong and the right example and the fix.
std::string explanation_text(const CodeExplanation& explanation);

}  // namespace tracciato
