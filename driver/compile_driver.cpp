#include "driver/compile_driver.h"

#include "compiler/compile.h"

namespace tracciato {

CompileStop compile_scenario(ScenarioModel& model, int32_t j, DescriptionSource& source,
                             std::span<ParseListener* const> listeners) {
  model.track_flag = j;
  model.error_code = 0;
  reset_item_table(model);
  memorizza_dati(model, source, listeners);
  // Nobody looks at error_code here: whatever the reading recorded, the
  // completion pass and the output run on what the model holds.
  if (!model.has_route()) return CompileStop::kNoRoute;
  complete_signalling(model);
  switch (seal_scenario(model)) {
    case SealResult::kSealed:
      return CompileStop::kNone;
    case SealResult::kSlot1250InUse:
      return CompileStop::kReserved1250;
    case SealResult::kSlot1251InUse:
      return CompileStop::kReserved1251;
  }
  return CompileStop::kNone;
}

}  // namespace tracciato
