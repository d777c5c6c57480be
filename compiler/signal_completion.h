// The completion pass over the signalling, run once after both descriptions
// are read: it adds abbattimento cells of value 180 (kind 12) before the
// signals that stand shortly before a slowdown warning, at three distances
// before each slowdown start, every 400 m inside slowdowns slower than
// 110 km/h, and before the first signal after such a slowdown.
//
// complete_signalling itself is declared with the other compile steps in
// compiler/compile.h.
#pragma once

#include "compiler/scenario_model.h"

namespace tracciato {

// The smaller of two numbers; with equal arguments, x. The pass lowers an
// existing abbattimento value to 180 with it and never raises one.
template <typename T>
constexpr T minimo(T x, T y) {
  return x > y ? y : x;
}

}  // namespace tracciato
