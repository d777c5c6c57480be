// Signed 32-bit arithmetic that fails instead of wrapping.
//
// The descriptions' numbers are 32-bit, and every sum, difference and product
// the compiler forms from them (a position plus a margin, a slowdown's end,
// a signal's packed code, a station's time of day) must fit 32 bits at each
// step, even where the final value would fit again. An overflow is a run-time
// failure of the reading, which becomes code 25.
#pragma once

#include <cstdint>
#include <limits>

#include "compiler/runtime_failure.h"

namespace tracciato::checked {

inline int32_t fit(int64_t v) {
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) {
    throw RuntimeFailure("a sum of the record's values overflows 32 bits");
  }
  return static_cast<int32_t>(v);
}

inline int32_t add(int32_t a, int32_t b) { return fit(int64_t{a} + b); }
inline int32_t sub(int32_t a, int32_t b) { return fit(int64_t{a} - b); }
inline int32_t mul(int32_t a, int32_t b) { return fit(int64_t{a} * b); }

}  // namespace tracciato::checked
