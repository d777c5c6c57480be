// The names of the files of one scenario, built from its line name and train
// number. Every file lives in one folder.
#pragma once

#include <filesystem>
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

// A file name built from the scenario's Windows-1252 names, as the file
// system holds it: each character of the code page, in the platform's own
// form (UTF-8 on Linux, UTF-16 on Windows), so "Città" is the same name to
// the author's file manager and to the simulator. ASCII names keep their
// bytes.
std::filesystem::path file_name_path(std::string_view windows1252_name);

}  // namespace tracciato
