#include "driver/form1.h"

#include "documents/document.h"
#include "driver/compile_driver.h"
#include "driver/file_names.h"
#include "driver/installed_descriptions.h"
#include "output/scenario_output.h"

namespace tracciato {

void Form1::load() {
  model.line_name = kEmbeddedLineName;
  model.train_number = kEmbeddedTrainNumber;
  desktop_.show_waiting_window();
  dati_linea();
  dati_treno();
  dati_note();
  dati_rallentamenti();
  dati_scheda();
  memorizza_percorso(1);
}

void Form1::dati_linea() {
  write_document(path_of(scenario_file_names(model.line_name, model.train_number).line_description),
                 line_description_document());
}

void Form1::dati_treno() {
  write_document(
      path_of(scenario_file_names(model.line_name, model.train_number).train_description),
      train_description_document());
}

void Form1::dati_note() {
  write_document(path_of(scenario_file_names(model.line_name, model.train_number).notes),
                 notes_document());
}

void Form1::dati_rallentamenti() {
  write_document(path_of(scenario_file_names(model.line_name, model.train_number).slowdown_order),
                 slowdown_order_document());
}

void Form1::dati_scheda() {
  write_document(path_of(scenario_file_names(model.line_name, model.train_number).timetable_sheet),
                 timetable_sheet_document());
}

void Form1::memorizza_percorso(int32_t j) {
  const ScenarioFileNames names = scenario_file_names(model.line_name, model.train_number);
  InstalledDescriptions source(path_of(names.line_description), path_of(names.train_description));
  switch (compile_scenario(model, j, source)) {
    case CompileStop::kNone:
      write_scenario_files(folder_, model);
      return;
    case CompileStop::kReserved1250:
      errore("1250");
    case CompileStop::kReserved1251:
      errore("1251");
    case CompileStop::kNoRoute:
      // The completion pass has no route to walk: a failure no step handles.
      throw std::runtime_error(
          "the line description gave no route length; no scenario file written");
  }
}

void Form1::errore(std::string_view a) {
  const std::string number(a);
  ErrorStop stop(number);
  desktop_.show_message(kApplicationTitle, stop.what());
  throw stop;
}

}  // namespace tracciato
