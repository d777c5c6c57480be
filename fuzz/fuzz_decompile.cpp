// Reading scenario files back into descriptions, and comparing two
// scenarios, whatever the files hold: a file that does not fit its format is
// refused with DecodeError; anything else is read back (a proof refuses
// nothing) and compared with itself as equal.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "authoring/decompile.h"
#include "authoring/scenario_decoding.h"
#include "authoring/scenario_diff.h"
#include "fuzz/fuzz_input.h"

namespace {

// The input as the cell file, the item file and the track file: two 32-bit
// lengths first, then the three files one after the other.
uint32_t length_at(const uint8_t* data) {
  uint32_t n = 0;
  std::memcpy(&n, data, sizeof n);
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tracciato;
  if (size < 8) return 0;
  std::string_view rest = fuzz::bytes_of(data + 8, size - 8);
  const size_t cell_size = std::min<size_t>(length_at(data), rest.size());
  const std::string cell(rest.substr(0, cell_size));
  rest.remove_prefix(cell_size);
  const size_t item_size = std::min<size_t>(length_at(data + 4), rest.size());
  const std::string item(rest.substr(0, item_size));
  rest.remove_prefix(item_size);
  try {
    const ScenarioFiles files = decode_scenario_files(
        cell, item, rest.empty() ? std::nullopt : std::optional<std::string>(rest));
    const DecompileResult result = decompile_scenario(files);
    if (result.proven && !result.refusals.empty()) std::abort();
    if (!diff_scenarios(files, files).equal) std::abort();
  } catch (const DecodeError&) {
  }
  return 0;
}
