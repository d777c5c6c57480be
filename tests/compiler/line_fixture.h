// Helpers for the line half of the compiler: an in-memory line description
// run through memorizza_dati, with an empty train description after it.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/compile.h"
#include "compiler/description_source.h"
#include "compiler/scenario_model.h"

namespace tracciato::test_support {

// Lines, each ended by CR LF, as the line description is written.
inline std::string crlf_lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text;
}

// A line description of `length` metres (1000 m gives last_cell 160 and
// track rows 0 to 8000): the general section, a heading, the feature lines,
// and the empty last line that the parser never interprets.
inline std::string line_with(std::initializer_list<std::string_view> features,
                             int32_t length = 1000) {
  std::string text =
      crlf_lines({"[generale]", "lunghezza percorso, " + std::to_string(length), "[x]"});
  for (std::string_view line : features) (text += line) += "\r\n";
  return text + "\r\n";
}

struct LineRun {
  ScenarioModel model;
  bool line_discarded = false;
  bool train_discarded = false;
};

// memorizza_dati as the compile driver calls it, over in-memory descriptions.
// `error_position` presets the record, so a test can see it left unchanged.
inline LineRun run_line(std::optional<std::string> line, int32_t track_flag = 1,
                        std::optional<std::string> train = std::string(),
                        int32_t error_position = 0) {
  LineRun run;
  run.model.line_name = "Tarvo_Belmira";
  run.model.train_number = "7351";
  run.model.track_flag = track_flag;
  run.model.error_position = error_position;
  reset_item_table(run.model);
  MemoryDescriptions source(std::move(line), std::move(train));
  memorizza_dati(run.model, source);
  run.line_discarded = source.line_discarded;
  run.train_discarded = source.train_discarded;
  return run;
}

}  // namespace tracciato::test_support
