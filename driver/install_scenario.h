// The scenario an install package carries: its two names and the bytes of its
// five documents, each exactly as the install sequence writes it into its
// file (Windows-1252 lines, each followed by CR LF).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tracciato {

// The five documents, in the order the install sequence writes them.
enum class DocumentKind { kLineDescription, kTrainDescription, kNotes, kSlowdownOrder, kTimetable };
inline constexpr size_t kDocumentCount = 5;

struct InstallScenario {
  std::string line_name;
  std::string train_number;
  std::array<std::string, kDocumentCount> documents;

  const std::string& document(DocumentKind kind) const {
    return documents[static_cast<size_t>(kind)];
  }
};

// The line Tarvo_Belmira with the train 7351, from the embedded tables.
InstallScenario embedded_install_scenario();

// The document's file name for the scenario's names (Tarvo_Belmira_7351_note.txt).
std::string document_file_name(DocumentKind kind, std::string_view line_name,
                               std::string_view train_number);

// Why `name` cannot stand in the names of a scenario's files on Windows and
// Linux alike, or empty when it can: it must not be empty, hold a path
// separator, a character Windows reserves (< > : " | ? * and controls), end
// with a dot or a blank, or be a device name such as CON, NUL or COM1.
std::string portable_name_problem(std::string_view name);

// Why the files a package installs for these Windows-1252 names could not be
// created on Windows or Linux, or empty when they can: the longest of them,
// with the suffix it takes while it is staged, must fit the file systems'
// limit on a file name.
std::string installed_names_problem(std::string_view line_name, std::string_view train_number);

}  // namespace tracciato
