// The three scenario files' decoders and inspect's views of them; the first
// byte chooses the kind. A file that does not fit its format is refused with
// DecodeError, nothing else.
#include "authoring/inspect_report.h"
#include "authoring/scenario_decoding.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tracciato;
  if (size == 0) return 0;
  const ScenarioFileKind kinds[] = {ScenarioFileKind::kCell, ScenarioFileKind::kItem,
                                    ScenarioFileKind::kTrack};
  const ScenarioFileKind kind = kinds[data[0] % 3];
  try {
    const DecodedScenarioFile file = decode_scenario_file(kind, fuzz::bytes_of(data + 1, size - 1));
    const InspectOptions options;
    inspect_table(file, options);
    inspect_json(file, options);
    inspect_records(file);
  } catch (const DecodeError&) {
  }
  return 0;
}
