#include "driver/install_scenario.h"

#include <algorithm>
#include <cctype>

#include "documents/document.h"
#include "driver/file_names.h"
#include "platform/staged_files.h"
#include "text/windows1252.h"

namespace tracciato {

InstallScenario embedded_install_scenario() {
  return {
      .line_name = "Tarvo_Belmira",
      .train_number = "7351",
      .documents = {render_document(line_description_document()),
                    render_document(train_description_document()),
                    render_document(notes_document()), render_document(slowdown_order_document()),
                    render_document(timetable_sheet_document())}};
}

std::string document_file_name(DocumentKind kind, std::string_view line_name,
                               std::string_view train_number) {
  const ScenarioFileNames names = scenario_file_names(line_name, train_number);
  switch (kind) {
    case DocumentKind::kLineDescription:
      return names.line_description;
    case DocumentKind::kTrainDescription:
      return names.train_description;
    case DocumentKind::kNotes:
      return names.notes;
    case DocumentKind::kSlowdownOrder:
      return names.slowdown_order;
    case DocumentKind::kTimetable:
      return names.timetable_sheet;
  }
  return {};
}

std::string installed_names_problem(std::string_view line_name, std::string_view train_number) {
  const ScenarioFileNames names = scenario_file_names(line_name, train_number);
  size_t longest = 0;
  std::string which;
  for (const std::string* name :
       {&names.line_description, &names.train_description, &names.notes, &names.slowdown_order,
        &names.timetable_sheet, &names.track_file, &names.item_file, &names.cell_file}) {
    // One byte a character in Windows-1252 and one UTF-16 unit on Windows;
    // a character beyond ASCII takes two bytes in UTF-8 on Linux.
    size_t length = name->size();
    for (const char c : *name) length += static_cast<unsigned char>(c) >= 0x80 ? 1 : 0;
    if (length > longest) {
      longest = length;
      which = *name;
    }
  }
  const size_t room = kLongestFileName - kLongestSideSuffix;
  if (longest <= room) return {};
  return "the names make a file name of " + std::to_string(longest) + " characters (" +
         windows1252_to_utf8(which) + "), longer than the " + std::to_string(room) +
         " a package can install on Windows and Linux; shorten the line name or the train "
         "number by " +
         std::to_string(longest - room);
}

std::string portable_name_problem(std::string_view name) {
  if (name.empty()) return "the name is empty";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\') return "the name holds a path separator";
    if (byte < 0x20) return "the name holds a control character";
    if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) {
      return std::string("the name holds '") + c + "', which Windows does not allow in file names";
    }
  }
  if (name.back() == '.' || name.back() == ' ') {
    return "the name ends with a dot or a blank, which Windows drops from file names";
  }
  // Windows takes these as devices whatever follows after a dot.
  std::string stem(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  std::transform(stem.begin(), stem.end(), stem.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  bool device = std::find(std::begin(kDevices), std::end(kDevices), stem) != std::end(kDevices);
  if (stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '0' &&
      stem[3] <= '9') {
    device = true;
  }
  if (device) return "'" + std::string(name) + "' is a device name on Windows, not a file name";
  return {};
}

}  // namespace tracciato
