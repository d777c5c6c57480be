// Placing refusals in their files and finding the fields two scenarios'
// files differ in; internal to the decompiler.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "authoring/decompile.h"

namespace tracciato {

// Fills in each refusal's byte offset from the records of `files`, and puts
// them in file order.
void place_refusals(std::vector<Refusal>& refusals, const ScenarioFiles& files);

// Adds a refusal for every field where `stored` and `made` differ, saying
// what `made` holds there, up to `most` refusals in all; a field already
// refused keeps its reason.
void list_differences(const ScenarioFiles& stored, const ScenarioFiles& made,
                      std::vector<Refusal>& out, size_t most);

// The value of a field as a refusal names it (record and field), in words;
// nullopt when the files have no such field.
std::optional<std::string> field_value(const ScenarioFiles& files, ScenarioFileKind file,
                                       int64_t record, const std::string& field);

}  // namespace tracciato
