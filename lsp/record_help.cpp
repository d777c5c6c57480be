// The names of a record's values where the author writes them: signature
// help for the record under the cursor, inlay hints before every value.
#include "lsp/features.h"

namespace tracciato::lsp {
namespace {

bool before(FieldSite a, FieldSite b) {
  return a.line < b.line || (a.line == b.line && a.column < b.column);
}

// Which value of `record` a cursor at `site` is writing: the one it stands
// in, else the one after the last read before it.
int32_t value_at(const DescriptionOutline& outline, const OutlineRecord& record, FieldSite site) {
  int32_t index = 0;
  const std::span<const OutlineValue> values = outline.values_of(record);
  for (size_t i = 0; i < values.size(); ++i) {
    const OutlineValue& v = values[i];
    if (before(site, v.site)) break;
    const bool inside = v.site.line == site.line && site.column <= v.site.column + v.length;
    index = static_cast<int32_t>(i) + (inside ? 0 : 1);
    if (inside) break;
  }
  return std::min<int32_t>(index, static_cast<int32_t>(record.rule->values.size()) - 1);
}

}  // namespace

Json signature_help(const DocumentPlace& place, const Json& params) {
  const FieldSite site = site_of_request(place, params);
  const OutlineRecord* record = place.side().outline().record_around(site);
  if (record == nullptr || record->rule->values.empty()) return nullptr;
  const RecordRule& rule = *record->rule;
  std::string label = std::string(rule.shown_key);
  Json parameters = Json::array();
  for (const ValueRule& v : rule.values) {
    label += ", ";
    const size_t start = label.size();
    label += v.name;
    std::string doc = std::string(v.meaning);
    if (!v.unit.empty())
      doc += (doc.empty() ? "" : " ") + std::string("(") + std::string(v.unit) + ")";
    // Offsets into the label, in UTF-16 units: the names are ASCII.
    parameters.push_back({{"label", {start, label.size()}}, {"documentation", doc}});
  }
  const Json signature = {
      {"label", label},
      {"documentation", std::string(rule.name) + ": " + std::string(rule.places)},
      {"parameters", std::move(parameters)}};
  return {{"signatures", Json::array({signature})},
          {"activeSignature", 0},
          {"activeParameter", value_at(place.side().outline(), *record, site)}};
}

Json inlay_hints(const DocumentPlace& place, const Json& params) {
  const Range range = range_of_request(params);
  const DescriptionSide& side = place.side();
  Json hints = Json::array();
  if (!side.text) return hints;
  const FieldSite from{range.start.line + 1, 1};
  const int32_t last_line = range.end.line + 1;
  const std::vector<OutlineField>& fields = side.outline().fields();
  const OutlineField* first = side.outline().field_before(from);
  size_t i = first == nullptr ? 0 : static_cast<size_t>(first - fields.data());
  for (; i < fields.size() && fields[i].site.line <= last_line; ++i) {
    const OutlineField& f = fields[i];
    if (f.role != FieldRole::kValue || f.site.line < from.line || f.record < 0) continue;
    const RecordRule& rule = *side.outline().records()[static_cast<size_t>(f.record)].rule;
    const Position at = side.text->position_of(f.site, place.encoding);
    hints.push_back({{"position", {{"line", at.line}, {"character", at.character}}},
                     {"label", std::string(rule.values[static_cast<size_t>(f.value)].name) + ":"},
                     {"kind", 2},
                     {"paddingRight", true}});
  }
  return hints;
}

}  // namespace tracciato::lsp
