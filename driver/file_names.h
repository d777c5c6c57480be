// The names of the files of one scenario, built from its line name and train
// number. Every file lives in one folder.
#pragma once

#include <string>
#include <string_view>

namespace tracciato {

struct ScenarioFileNames {
  std::string line_description;   // Tarvo_Belmira_linea.txt
  std::string train_description;  // Tarvo_Belmira_7351-.txt
  std::string notes;              // Tarvo_Belmira_7351_note.txt
  std::string slowdown_order;     // Tarvo_Belmira_7351_rallentamenti.txt
  std::string timetable_sheet;    // Tarvo_Belmira_7351_scheda_treno.txt
  std::string track_file;         // Tarvo_Belmira_linea.dat
  std::string item_file;          // Tarvo_Belmira_7351.sim
  std::string cell_file;          // Tarvo_Belmira_7351.dat
};

ScenarioFileNames scenario_file_names(std::string_view line_name, std::string_view train_number);

}  // namespace tracciato
