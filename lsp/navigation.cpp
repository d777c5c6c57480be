// Go to definition and quick fixes.
#include "compiler/runtime_failure.h"
#include "lsp/features.h"
#include "tools/diagnostic_format.h"

namespace tracciato::lsp {
namespace {

Json location(const DocumentPlace& place, Description description, FieldSite site) {
  const DescriptionSide& side = place.analysis.side(description);
  if (side.uri.empty() || site.line <= 0) return nullptr;
  return {{"uri", side.uri}, {"range", field_range_json(side, site, place.encoding)}};
}

}  // namespace

// From a refused record to the record in its way (its first note's place);
// from a position to the record that placed what its cell holds.
Json definition(const DocumentPlace& place, const Json& params) {
  const FieldSite site = site_of_request(place, params);
  const DescriptionSide& side = place.side();
  const OutlineField* field = side.outline().field_at(site);
  if (field == nullptr) return nullptr;
  for (const Diagnostic& d : place.analysis.diagnostics) {
    if (d.description != place.description || d.notes.empty()) continue;
    if (!(d.site == field->site)) continue;
    for (const DiagnosticNote& note : d.notes) {
      const Description at =
          note.description == Description::kNone ? place.description : note.description;
      Json found = location(place, at, note.site);
      if (!found.is_null()) return found;
    }
  }
  if (field->record < 0) return nullptr;
  const OutlineRecord& record = side.outline().records()[static_cast<size_t>(field->record)];
  const ScenarioModel* model = place.analysis.model.get();
  const std::span<const OutlineValue> values = side.outline().values_of(record);
  if (values.empty() || record.rule->values.front().unit != "m" || model == nullptr) {
    return nullptr;
  }
  int32_t cell = 0;
  try {
    cell = cell_of_position(values.front().number);
  } catch (const RuntimeFailure&) {
    return nullptr;
  }
  const CellOrigin* origin = model->cell_origins.origin(cell);
  if (origin == nullptr || origin->description == Description::kNone) return nullptr;
  // The record itself placed it: nothing else to go to.
  if (origin->description == place.description && origin->site == record.key_site) return nullptr;
  return location(place, origin->description, origin->site);
}

Json code_actions(const DocumentPlace& place, const Json& params) {
  const Range range = range_of_request(params);
  const DescriptionSide& side = place.side();
  Json actions = Json::array();
  if (!side.text) return actions;
  const FieldSite from = side.text->site_of(range.start, place.encoding);
  const FieldSite to = side.text->site_of(range.end, place.encoding);
  for (const Diagnostic& d : place.analysis.diagnostics) {
    if (d.description != place.description || !d.fix) continue;
    const TextFix& fix = *d.fix;
    // Editors ask for the lines the cursor or a selection is on.
    if (fix.site.line < from.line || fix.site.line > to.line) continue;
    const Json edit_range = range_json(side, fix.site, fix.length, place.encoding);
    Json diagnostic = {{"range", field_range_json(side, d.site, place.encoding)},
                       {"severity", 2},
                       {"source", "tracciato"},
                       {"message", displayable_line(d.message)}};
    actions.push_back(
        {{"title", "Replace with '" + fix.replacement + "'"},
         {"kind", "quickfix"},
         {"isPreferred", true},
         {"diagnostics", Json::array({diagnostic})},
         {"edit",
          {{"changes",
            {{side.uri, Json::array({{{"range", edit_range}, {"newText", fix.replacement}}})}}}}}});
  }
  return actions;
}

}  // namespace tracciato::lsp
