// The compile driver shared by the install package and the author's tool:
// reset, read both descriptions, complete the signalling, seal the reserved
// slots. Writing the files is the caller's, since the install package and an
// author's compile decide differently when to write.
#pragma once

#include <cstdint>
#include <span>

#include "compiler/description_source.h"
#include "compiler/description_walk.h"
#include "compiler/scenario_model.h"
#include "output/scenario_output.h"

namespace tracciato {

enum class CompileStop {
  kNone,
  kReserved1250,  // a reserved slot of 610 / 5121 already in use
  kReserved1251,  // a reserved slot of a competition code already in use
  kNoRoute,       // no route cells after reading: the completion pass cannot run
};

// Steps 1 to 4 of memorizza_percorso and the sealing of the reserved slots.
// `j` becomes track_flag. Compile problems stay in the model's diagnostic
// record and do not stop anything. `listeners` hear the reading of both
// descriptions (see memorizza_dati).
CompileStop compile_scenario(ScenarioModel& model, int32_t j, DescriptionSource& source,
                             std::span<ParseListener* const> listeners = {});

}  // namespace tracciato
