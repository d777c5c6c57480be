#include "tools/example_scenario.h"

#include <system_error>
#include <utility>

#include "documents/document.h"
#include "driver/file_names.h"
#include "driver/form1.h"
#include "platform/file_replace.h"

namespace tracciato {
namespace {

std::vector<std::pair<std::string, DocumentTable>> example_documents() {
  const ScenarioFileNames names = scenario_file_names(kEmbeddedLineName, kEmbeddedTrainNumber);
  return {
      {names.line_description, line_description_document()},
      {names.train_description, train_description_document()},
      {names.notes, notes_document()},
      {names.slowdown_order, slowdown_order_document()},
      {names.timetable_sheet, timetable_sheet_document()},
  };
}

}  // namespace

std::vector<std::string> example_file_names() {
  std::vector<std::string> names;
  for (const auto& [name, table] : example_documents()) names.push_back(name);
  return names;
}

std::vector<std::filesystem::path> example_files_present(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> present;
  for (const std::string& name : example_file_names()) {
    std::error_code ec;
    if (std::filesystem::exists(folder / name, ec)) present.push_back(folder / name);
  }
  return present;
}

std::vector<std::string> write_example_scenario(const std::filesystem::path& folder) {
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) throw IoError(folder, ec.message());
  std::vector<std::string> written;
  for (const auto& [name, table] : example_documents()) {
    write_document(folder / name, table);
    written.push_back(name);
  }
  return written;
}

}  // namespace tracciato
