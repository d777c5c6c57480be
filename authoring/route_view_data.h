// What the interactive route view draws, as one JSON object taken from a
// compile: the route plot's objects (route_plot.h), each with the cell that
// holds it, that cell's stored values and the record that placed it (from the
// compile's RecordLog), the profiles with the records that set them, the
// track plan, the curves and the kilometric progressives.
//
// The page's script reads it (route_page.h); its fields are short because a
// long line has tens of thousands of objects.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "authoring/record_log.h"
#include "compiler/scenario_model.h"

namespace tracciato {

// The descriptions as the author named them, for the records' places.
struct ViewSources {
  std::string line_file;
  std::string train_file;
};

// REQUIRES: model.has_route(); log heard the compile of `model` and was
// finished.
nlohmann::ordered_json route_view_data(const ScenarioModel& model, const RecordLog& log,
                                       const ViewSources& sources);

}  // namespace tracciato
