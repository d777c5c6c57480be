// Semantic tokens: what each field is to the grammar, so that a key field
// that matches no key (the record a typo silently drops) stands out.
#include "lsp/features.h"

namespace tracciato::lsp {
namespace {

enum TokenType : int { kKeyword, kComment, kNumber, kString, kNamespace, kUnknownKey };

std::optional<int> token_type(const OutlineField& field, const DescriptionOutline& outline) {
  switch (field.role) {
    case FieldRole::kKey:
      return kKeyword;
    case FieldRole::kComment:
    case FieldRole::kHeadingSearch:
      return kComment;
    case FieldRole::kFiller:
      return kNamespace;
    case FieldRole::kUnknownKey:
      return kUnknownKey;
    case FieldRole::kUnexamined:
      return std::nullopt;
    case FieldRole::kValue:
      break;
  }
  const OutlineRecord& record = outline.records()[static_cast<size_t>(field.record)];
  return record.rule->values[static_cast<size_t>(field.value)].width == ValueWidth::kText ? kString
                                                                                          : kNumber;
}

}  // namespace

const std::vector<std::string>& semantic_token_types() {
  static const std::vector<std::string> types = {"keyword", "comment",   "number",
                                                 "string",  "namespace", "unknownKey"};
  return types;
}

Json semantic_tokens(const DocumentPlace& place, const std::optional<Range>& range) {
  const DescriptionSide& side = place.side();
  std::vector<int32_t> data;
  if (side.text) {
    const int32_t first_line = range ? range->start.line + 1 : 1;
    const int32_t last_line = range ? range->end.line + 1 : INT32_MAX;
    Position previous{0, 0};
    for (const OutlineField& f : side.outline().fields()) {
      if (f.site.line < first_line) continue;
      if (f.site.line > last_line) break;
      if (f.length <= 0) continue;
      const std::optional<int> type = token_type(f, side.outline());
      if (!type) continue;
      const Position start = side.text->position_of(f.site, place.encoding);
      const Position end =
          side.text->position_of({f.site.line, f.site.column + f.length}, place.encoding);
      // A token stays on its line: a quoted text running on is cut there.
      const int32_t length = end.character - start.character;
      if (length <= 0) continue;
      const int32_t delta_line = start.line - previous.line;
      data.push_back(delta_line);
      data.push_back(delta_line == 0 ? start.character - previous.character : start.character);
      data.push_back(length);
      data.push_back(*type);
      data.push_back(0);
      previous = start;
    }
  }
  return {{"data", std::move(data)}};
}

}  // namespace tracciato::lsp
