// Form1: the install package's driver. It owns the scenario model for the run
// and its load handler runs the fixed install sequence: show the waiting
// window, write the five documents, compile the descriptions and write the
// binary scenario files into the program's folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "compiler/scenario_model.h"
#include "platform/platform.h"

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
  Form1(Desktop& desktop, std::filesystem::path folder)
      : desktop_(desktop), folder_(std::move(folder)) {}

  // The load handler: the whole install sequence. Throws ErrorStop after a
  // numbered error, IoError when a file cannot be written.
  void load();

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
  std::filesystem::path path_of(const std::string& name) const { return folder_ / name; }

  Desktop& desktop_;
  std::filesystem::path folder_;
};

}  // namespace tracciato
