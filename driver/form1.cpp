#include "driver/form1.h"

#include <system_error>

#include "driver/compile_driver.h"
#include "driver/file_names.h"
#include "driver/installed_descriptions.h"
#include "output/scenario_output.h"

namespace tracciato {

void Form1::load() {
  model.line_name = scenario_.line_name;
  model.train_number = scenario_.train_number;
  desktop_.show_waiting_window();
  // The folder's scenario whole again, before this run writes a byte there.
  staged_.claim();
  try {
    dati_linea();
    dati_treno();
    dati_note();
    dati_rallentamenti();
    dati_scheda();
    memorizza_percorso(1);
  } catch (const ErrorStop&) {
    throw;
  } catch (...) {
    // Nothing of this run stays: the folder keeps the earlier scenario whole.
    staged_.abandon();
    remove_descriptions();
    throw;
  }
}

// The descriptions are real files from the start: the compiler reads them
// back from the folder, then deletes them, so they never need reach the disk.
void Form1::write_description(DocumentKind kind) {
  write_file_for_the_run(path_of(document_file_name(kind, model.line_name, model.train_number)),
                         scenario_.document(kind), staged_.faults());
}

// The driver's documents wait, complete, beside their names until the run
// is sure to end well.
void Form1::stage_document(DocumentKind kind) {
  staged_.stage(path_of(document_file_name(kind, model.line_name, model.train_number)),
                scenario_.document(kind));
}

void Form1::remove_descriptions() {
  for (const DocumentKind kind :
       {DocumentKind::kLineDescription, DocumentKind::kTrainDescription}) {
    std::error_code ignored;
    std::filesystem::remove(path_of(document_file_name(kind, model.line_name, model.train_number)),
                            ignored);
  }
}

void Form1::dati_linea() { write_description(DocumentKind::kLineDescription); }
void Form1::dati_treno() { write_description(DocumentKind::kTrainDescription); }
void Form1::dati_note() { stage_document(DocumentKind::kNotes); }
void Form1::dati_rallentamenti() { stage_document(DocumentKind::kSlowdownOrder); }
void Form1::dati_scheda() { stage_document(DocumentKind::kTimetable); }

void Form1::memorizza_percorso(int32_t j) {
  const ScenarioFileNames names = scenario_file_names(model.line_name, model.train_number);
  InstalledDescriptions source(path_of(names.line_description), path_of(names.train_description));
  const CompileStop stop = compile_scenario(model, j, source);
  switch (stop) {
    case CompileStop::kNone:
      stage_scenario_files(staged_, folder_, model);
      staged_.commit();
      return;
    case CompileStop::kReserved1250:
    case CompileStop::kReserved1251:
      // The numbered stop leaves the documents and no binary file.
      staged_.commit();
      errore(stop == CompileStop::kReserved1250 ? "1250" : "1251");
    case CompileStop::kNoRoute:
      // The completion pass has no route to walk: a failure no step handles.
      throw std::runtime_error(
          "the line description gave no route length; no scenario file written");
  }
}

void Form1::errore(std::string_view a) {
  const std::string number(a);
  ErrorStop stop(number);
  desktop_.show_message(title(), stop.what());
  throw stop;
}

}  // namespace tracciato
