#include "driver/file_names.h"

#include "text/windows1252.h"

namespace tracciato {

ScenarioFileNames scenario_file_names(std::string_view line_name, std::string_view train_number) {
  const std::string line(line_name);
  const std::string train = line + "_" + std::string(train_number);
  return {
      .line_description = line + "_linea.txt",
      .train_description = train + "-.txt",
      .notes = train + "_note.txt",
      .slowdown_order = train + "_rallentamenti.txt",
      .timetable_sheet = train + "_scheda_treno.txt",
      .track_file = line + "_linea.dat",
      .item_file = train + ".sim",
      .cell_file = train + ".dat",
  };
}

std::filesystem::path file_name_path(std::string_view windows1252_name) {
  const std::string utf8 = windows1252_to_utf8(windows1252_name);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace tracciato
