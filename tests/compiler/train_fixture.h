// Helpers for the train half of the compiler: a route as the line phase
// leaves it, and one run of the train phase over an in-memory description.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/description_source.h"
#include "compiler/runtime_failure.h"
#include "compiler/scenario_model.h"
#include "compiler/train_parser.h"

namespace tracciato::test_support {

// A model whose line phase read a line of `length` metres and nothing else;
// 32000 m gives last_cell 780.
inline ScenarioModel route_model(int32_t length = 32000) {
  ScenarioModel model;
  create_route(model, length);
  return model;
}

// A train description: "[generale]", then the lines, each ended by CR LF.
inline std::string train_text(std::initializer_list<std::string_view> lines) {
  std::string text = "[generale]\r\n";
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text;
}

struct TrainRun {
  bool failed = false;     // a RuntimeFailure reached the caller (code 25)
  bool discarded = false;  // the train phase discarded the description itself
};

inline TrainRun run_train(ScenarioModel& model, std::optional<std::string> text,
                          int32_t sign_slot = kFirstSignSlot) {
  MemoryDescriptions source(std::nullopt, std::move(text));
  TrainRun run;
  try {
    read_train_description(model, source, sign_slot);
  } catch (const RuntimeFailure&) {
    run.failed = true;
  }
  run.discarded = source.train_discarded;
  return run;
}

}  // namespace tracciato::test_support
