// Ranges and positions between the editor's counting and the compiler's.
#include "lsp/features.h"

namespace tracciato::lsp {
namespace {

Json position_json(Position p) { return {{"line", p.line}, {"character", p.character}}; }

Position position_of_json(const Json& value) {
  return {integer_member(value, "line"), integer_member(value, "character")};
}

}  // namespace

Json range_json(const DescriptionSide& side, FieldSite site, int32_t length,
                PositionEncoding encoding) {
  if (!side.text || site.line <= 0) {
    return {{"start", position_json({})}, {"end", position_json({})}};
  }
  const FieldSite start{site.line, std::max(site.column, 1)};
  const FieldSite end{start.line, start.column + std::max(length, 0)};
  return {{"start", position_json(side.text->position_of(start, encoding))},
          {"end", position_json(side.text->position_of(end, encoding))}};
}

Json field_range_json(const DescriptionSide& side, FieldSite site, PositionEncoding encoding) {
  const OutlineField* field = side.outline().field_at(site);
  const int32_t length =
      field != nullptr && field->site == site && field->length > 0 ? field->length : 1;
  return range_json(side, site, length, encoding);
}

FieldSite site_of_request(const DocumentPlace& place, const Json& params) {
  const Position p = position_of_json(object_member(params, "position"));
  if (!place.side().text) return {p.line + 1, p.character + 1};
  return place.side().text->site_of(p, place.encoding);
}

Range range_of_request(const Json& params) {
  const Json& range = object_member(params, "range");
  return {position_of_json(object_member(range, "start")),
          position_of_json(object_member(range, "end"))};
}

}  // namespace tracciato::lsp
