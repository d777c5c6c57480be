// Document symbols: the general section, then the stations, signals and
// slowdowns with their positions.
#include "lsp/features.h"
#include "text/windows1252.h"

namespace tracciato::lsp {
namespace {

// The protocol's symbol kinds.
constexpr int kNamespaceSymbol = 3;
constexpr int kClassSymbol = 5;
constexpr int kEventSymbol = 24;
constexpr int kOperatorSymbol = 25;
constexpr int kFieldSymbol = 8;

std::optional<int> symbol_kind(RecordKind kind) {
  switch (kind) {
    case RecordKind::kStation:
      return kClassSymbol;
    case RecordKind::kSignal:
      return kEventSymbol;
    case RecordKind::kSlowdown:
      return kOperatorSymbol;
    default:
      return std::nullopt;
  }
}

// The train's own data, read from its general section.
bool is_train_general(RecordKind kind) {
  return kind == RecordKind::kBrakedMass || kind == RecordKind::kCoaches ||
         kind == RecordKind::kClock || kind == RecordKind::kSand;
}

Json symbol(const DocumentPlace& place, const OutlineRecord& record, std::string name, int kind) {
  const DescriptionSide& side = place.side();
  FieldSite end_site = record.key_site;
  int32_t end_length = record.key_length;
  const std::span<const OutlineValue> values = side.outline().values_of(record);
  if (!values.empty()) {
    end_site = values.back().site;
    end_length = values.back().length;
  }
  Json range = range_json(side, record.key_site, record.key_length, place.encoding);
  range["end"] = range_json(side, end_site, end_length, place.encoding)["end"];
  return {{"name", std::move(name)},
          {"kind", kind},
          {"range", range},
          {"selectionRange", range_json(side, record.key_site, record.key_length, place.encoding)}};
}

std::string record_title(const DescriptionSide& side, const OutlineRecord& record) {
  std::string title = std::string(record.rule->name);
  const std::span<const OutlineValue> values = side.outline().values_of(record);
  if (record.rule->kind == RecordKind::kStation && side.text) {
    for (size_t i = 0; i < values.size(); ++i) {
      if (record.rule->values[i].width != ValueWidth::kText || values[i].length == 0) continue;
      title += " " + side.text->utf8_field(values[i].site, values[i].length);
      break;
    }
  }
  if (!values.empty()) title += " at " + std::to_string(values[0].number) + " m";
  return title;
}

}  // namespace

Json document_symbols(const DocumentPlace& place) {
  const DescriptionOutline& outline = place.side().outline();
  Json symbols = Json::array();
  Json general = Json::array();
  const OutlineRecord* first_general = nullptr;
  const OutlineRecord* last_general = nullptr;
  for (const OutlineRecord& record : outline.records()) {
    const RecordRule& rule = *record.rule;
    const bool in_general = rule.part == GrammarPart::kLineGeneral || is_train_general(rule.kind);
    if (in_general) {
      if (first_general == nullptr) first_general = &record;
      last_general = &record;
      general.push_back(symbol(place, record, std::string(rule.name), kFieldSymbol));
      continue;
    }
    if (const std::optional<int> kind = symbol_kind(rule.kind)) {
      symbols.push_back(symbol(place, record, record_title(place.side(), record), *kind));
    }
  }
  if (first_general != nullptr) {
    Json section = symbol(place, *first_general, "[generale]", kNamespaceSymbol);
    section["range"]["end"] = symbol(place, *last_general, "", 0)["range"]["end"];
    if (const std::optional<FieldSite> heading = outline.heading()) {
      const Json at = range_json(place.side(), *heading, 1, place.encoding);
      section["range"]["start"] = at["start"];
      section["selectionRange"] = at;
    }
    section["children"] = std::move(general);
    symbols.insert(symbols.begin(), std::move(section));
  }
  return symbols;
}

}  // namespace tracciato::lsp
