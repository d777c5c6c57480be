// Writing the three binary scenario files into the scenario's folder.
#include "driver/file_names.h"
#include "output/scenario_output.h"

namespace tracciato {

std::vector<std::string> stage_scenario_files(StagedReplacement& replacement,
                                              const std::filesystem::path& folder,
                                              const ScenarioModel& model) {
  const ScenarioFileNames names = scenario_file_names(model.line_name, model.train_number);
  std::vector<std::string> staged;
  // The track file of a long line is tens of megabytes: it goes out in
  // chunks as it is encoded, never held whole.
  if (model.track_flag != 0) {
    StagedFile& track = replacement.stage(folder / file_name_path(names.track_file));
    encode_track_file(model, [&track](std::string_view chunk) { track.append(chunk); });
    staged.push_back(names.track_file);
  }
  replacement.stage(folder / file_name_path(names.item_file), encode_item_file(model));
  staged.push_back(names.item_file);
  replacement.stage(folder / file_name_path(names.cell_file), encode_cell_file(model));
  staged.push_back(names.cell_file);
  return staged;
}

std::vector<std::string> write_scenario_files(const std::filesystem::path& folder,
                                              const ScenarioModel& model,
                                              const FileFaults& faults) {
  StagedReplacement replacement(faults);
  std::vector<std::string> written = stage_scenario_files(replacement, folder, model);
  replacement.commit();
  return written;
}

}  // namespace tracciato
