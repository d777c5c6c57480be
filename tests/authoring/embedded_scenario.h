// The embedded scenario compiled in-process, as the install package compiles
// it: the starting point of the author tools' tests.
#pragma once

#include <memory>
#include <string>

#include "compiler/description_source.h"
#include "compiler/scenario_model.h"
#include "documents/document.h"
#include "driver/compile_driver.h"

namespace tracciato::test_support {

inline std::string embedded_line_text() { return render_document(line_description_document()); }
inline std::string embedded_train_text() { return render_document(train_description_document()); }

// The compiled model; the model of a 39 km route is large, so it lives on the
// heap.
inline std::unique_ptr<ScenarioModel> compile_texts(const std::string& line,
                                                    const std::string& train) {
  auto model = std::make_unique<ScenarioModel>();
  model->line_name = "Tarvo_Belmira";
  model->train_number = "7351";
  MemoryDescriptions source(line, train);
  compile_scenario(*model, 1, source);
  return model;
}

inline std::unique_ptr<ScenarioModel> compile_embedded() {
  return compile_texts(embedded_line_text(), embedded_train_text());
}

}  // namespace tracciato::test_support
