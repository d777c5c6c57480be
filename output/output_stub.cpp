#include "output/scenario_output.h"

namespace tracciato {

// Placeholder until the output subsystem lands.
int16_t codice_gara_og(const ScenarioModel&) { return 0; }
int32_t codice_gara_st(const ScenarioModel&) { return 0; }
SealResult seal_scenario(ScenarioModel&) { return SealResult::kSealed; }
std::string encode_track_file(const ScenarioModel&) { return {}; }
std::string encode_item_file(const ScenarioModel&) { return {}; }
std::string encode_cell_file(const ScenarioModel&) { return {}; }
std::vector<std::string> write_scenario_files(const std::filesystem::path&, const ScenarioModel&) {
  return {};
}

}  // namespace tracciato
