// Form1: the install package's driver. It owns the scenario model for the run
// and its load handler runs the fixed install sequence: show the waiting
// window, write the five documents, compile the descriptions and write the
// binary scenario files into the program's folder.
//
// A run replaces its scenario all or nothing: the three driver documents and
// the three binary files are staged and renamed over their names together,
// once all are complete on the disk. Before anything else it finishes, or
// undoes, what a run killed in the same folder left half replaced. A failure
// removes every temporary file and both description files, and the folder
// keeps the files of the earlier run. The numbered stop keeps the documents
// and writes no binary file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "compiler/scenario_model.h"
#include "driver/file_names.h"
#include "driver/install_scenario.h"
#include "platform/file_replace.h"
#include "platform/platform.h"
#include "platform/staged_files.h"

namespace tracciato {

inline constexpr std::string_view kApplicationTitle = "Tarvo_Belmira_7351";
inline constexpr std::string_view kEmbeddedLineName = "Tarvo_Belmira";
inline constexpr std::string_view kEmbeddedTrainNumber = "7351";

// Thrown by errore once its message box is closed: the run ends there.
class ErrorStop : public std::runtime_error {
 public:
  explicit ErrorStop(std::string number)
      : std::runtime_error(" Errore n. " + number), number_(std::move(number)) {}
  const std::string& number() const { return number_; }

 private:
  std::string number_;
};

class Form1 {
 public:
  // The embedded scenario.
  Form1(Desktop& desktop, std::filesystem::path folder)
      : Form1(desktop, std::move(folder), embedded_install_scenario()) {}
  // `faults` reaches every write of the run (tests inject a full disk).
  Form1(Desktop& desktop, std::filesystem::path folder, InstallScenario scenario,
        FileFaults faults = {})
      : desktop_(desktop),
        folder_(std::move(folder)),
        scenario_(std::move(scenario)),
        staged_(folder_, std::move(faults)) {}

  // The load handler: the whole install sequence. Throws ErrorStop after a
  // numbered error, IoError when a file cannot be written (after removing
  // every file the run had begun).
  void load();

  // What the run found an interrupted run had left in the folder, and did
  // about it, for standard error; nullopt when nothing.
  const std::optional<std::string>& recovered() const { return staged_.recovered(); }

  // The title of the message box: the scenario's package name.
  std::string title() const { return scenario_.line_name + "_" + scenario_.train_number; }

  // The document writers.
  void dati_linea();
  void dati_treno();
  void dati_note();
  void dati_rallentamenti();
  void dati_scheda();

  // The compile driver: reads, compiles and writes the binary files.
  void memorizza_percorso(int32_t j);

  // Shows " Errore n. " followed by `a` in a modal box, then ends the run.
  [[noreturn]] void errore(std::string_view a);

  ScenarioModel model;

 private:
  std::filesystem::path path_of(const std::string& name) const {
    return folder_ / file_name_path(name);
  }
  void write_description(DocumentKind kind);
  void stage_document(DocumentKind kind);
  void remove_descriptions();

  Desktop& desktop_;
  std::filesystem::path folder_;
  InstallScenario scenario_;
  StagedReplacement staged_;
};

}  // namespace tracciato
