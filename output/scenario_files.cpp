// Writing the three binary scenario files into the scenario's folder.
#include "driver/file_names.h"
#include "output/earlier_scenario_file.h"
#include "output/scenario_output.h"

namespace tracciato {

std::vector<std::string> stage_scenario_files(StagedReplacement& replacement,
                                              const std::filesystem::path& folder,
                                              const ScenarioModel& model) {
  const ScenarioFileNames names = scenario_file_names(model.line_name, model.train_number);
  const std::filesystem::path track_path = folder / file_name_path(names.track_file);
  const std::filesystem::path item_path = folder / file_name_path(names.item_file);
  const std::filesystem::path cell_path = folder / file_name_path(names.cell_file);
  // Every name is looked at before any file is staged.
  if (model.track_flag != 0) refuse_foreign_scenario_file(track_path, ScenarioFile::kTrack);
  refuse_foreign_scenario_file(item_path, ScenarioFile::kItem);
  refuse_foreign_scenario_file(cell_path, ScenarioFile::kCell);
  std::vector<std::string> staged;
  // The track file of a long line is tens of megabytes: it goes out in
  // chunks as it is encoded, never held whole.
  if (model.track_flag != 0) {
    StagedFile& track = replacement.stage(track_path);
    encode_track_file(model, [&track](std::string_view chunk) { track.append(chunk); });
    staged.push_back(names.track_file);
  }
  replacement.stage(item_path, encode_item_file(model));
  staged.push_back(names.item_file);
  replacement.stage(cell_path, encode_cell_file(model));
  staged.push_back(names.cell_file);
  return staged;
}

WrittenScenario write_scenario_files(const std::filesystem::path& folder,
                                     const ScenarioModel& model, const FileFaults& faults) {
  StagedReplacement replacement(folder, faults);
  replacement.claim();
  WrittenScenario result;
  result.recovered = replacement.recovered();
  result.written = stage_scenario_files(replacement, folder, model);
  replacement.commit();
  return result;
}

}  // namespace tracciato
