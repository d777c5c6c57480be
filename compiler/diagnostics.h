// Plain sentences for the compile problem codes, for people reading a
// diagnostic; the scenario files carry only the numbers.
#pragma once

#include <cstdint>
#include <string_view>

namespace tracciato {

// One plain English sentence per code (16: "the signal's cell is already
// occupied"); a generic sentence for a code the compiler never records.
std::string_view error_message(int32_t code);

}  // namespace tracciato
