// Writing the three binary scenario files into the scenario's folder.
#include "driver/file_names.h"
#include "output/scenario_output.h"
#include "platform/file_chunks.h"
#include "platform/file_replace.h"

namespace tracciato {

std::vector<std::string> write_scenario_files(const std::filesystem::path& folder,
                                              const ScenarioModel& model) {
  const ScenarioFileNames names = scenario_file_names(model.line_name, model.train_number);
  std::vector<std::string> written;
  // The track file of a long line is tens of megabytes: it goes out in
  // chunks as it is encoded, never held whole.
  if (model.track_flag != 0) {
    replace_file_in_chunks(folder / names.track_file,
                           [&model](const FileChunkSink& sink) { encode_track_file(model, sink); });
    written.push_back(names.track_file);
  }
  replace_file(folder / names.item_file, encode_item_file(model));
  written.push_back(names.item_file);
  replace_file(folder / names.cell_file, encode_cell_file(model));
  written.push_back(names.cell_file);
  return written;
}

}  // namespace tracciato
