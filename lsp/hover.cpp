// Hover: what a field is to the grammar, and for a position what the compile
// placed where it lands.
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "authoring/record_meaning.h"
#include "authoring/route_plot.h"
#include "compiler/code_explanations.h"
#include "compiler/runtime_failure.h"
#include "lsp/features.h"
#include "text/windows1252.h"
#include "tools/diagnostic_format.h"

namespace tracciato::lsp {
namespace {

std::string_view width_words(ValueWidth width) {
  switch (width) {
    case ValueWidth::kNumber:
      return "a whole number (32 bits)";
    case ValueWidth::kU8:
      return "a whole number from 0 to 255";
    case ValueWidth::kI16:
      return "a whole number from -32768 to 32767";
    case ValueWidth::kText:
      break;
  }
  return "a text";
}

std::string record_words(const RecordRule& rule) {
  std::string out = "**" + std::string(rule.name) + "** (`" + std::string(rule.shown_key) +
                    "`)\n\nPlaces: " + std::string(rule.places) + ".\n\nValues: ";
  for (size_t i = 0; i < rule.values.size(); ++i) {
    const ValueRule& v = rule.values[i];
    out += (i == 0 ? "" : ", ") + std::string(v.name);
    if (!v.unit.empty()) out += " (" + std::string(v.unit) + ")";
  }
  return out + ".";
}

bool is_route_position(const ValueRule& value) {
  return value.unit == "m" &&
         (value.name == "position" || value.name == "start" || value.name == "x");
}

std::string description_word(Description d) {
  return d == Description::kTrain ? "train description" : "line description";
}

// The cell a position lands in and what the compile left there.
std::string cell_words(const PairAnalysis& analysis, int32_t position) {
  int32_t cell = 0;
  try {
    cell = cell_of_position(position);
  } catch (const RuntimeFailure&) {
    return "\n\nThis position lies beyond any cell.";
  }
  std::string out = "\n\nLands in cell " + std::to_string(cell) + " (" +
                    std::to_string((cell - 1) * kCellLength) + " to " +
                    std::to_string(cell * kCellLength) + " m)";
  const ScenarioModel* model = analysis.model.get();
  if (model == nullptr || !model->has_route()) return out + ".";
  if (const std::optional<int32_t> km = kilometric_value(progressives_of(*model), position)) {
    // As the line's signs write it: "km 68+905", the metres in three digits.
    const int64_t metres = *km;
    char text[32];
    std::snprintf(text, sizeof text, "km %s%lld+%03lld", metres < 0 ? "-" : "",
                  static_cast<long long>(std::abs(metres) / 1000),
                  static_cast<long long>(std::abs(metres) % 1000));
    out += ", kilometric value " + std::string(text);
  }
  out += ".";
  if (cell < 0 || static_cast<size_t>(cell) >= model->route_cells.size()) {
    return out + " The route has no such cell.";
  }
  const std::string meaning =
      cell_meaning(model->route_cells[static_cast<size_t>(cell)], static_cast<size_t>(cell));
  if (meaning.empty()) return out + " The compile left it empty.";
  out += "\n\nThe compile placed there: " + windows1252_to_utf8(meaning);
  if (const CellOrigin* origin = model->cell_origins.origin(cell);
      origin != nullptr && origin->description != Description::kNone) {
    out += " (the record at " + description_word(origin->description) + " line " +
           std::to_string(origin->site.line) + ")";
  }
  return out + ".";
}

std::string value_words(const PairAnalysis& analysis, const DescriptionOutline& outline,
                        const OutlineRecord& record, const OutlineField& field) {
  const RecordRule& rule = *record.rule;
  const ValueRule& v = rule.values[static_cast<size_t>(field.value)];
  std::string out = "**" + std::string(v.name) + "**: value " + std::to_string(field.value + 1) +
                    " of `" + std::string(rule.shown_key) + "` (" + std::string(rule.name) + ")";
  if (!v.meaning.empty()) out += "\n\n" + std::string(v.meaning);
  out += "\n\nRead as " + std::string(width_words(v.width));
  if (!v.unit.empty()) out += ", in " + std::string(v.unit);
  out += ".";
  const size_t index = static_cast<size_t>(field.value);
  const std::span<const OutlineValue> values = outline.values_of(record);
  if (is_route_position(v) && index < values.size()) {
    out += cell_words(analysis, values[index].number);
  }
  return out;
}

std::string role_words(const OutlineField& field) {
  switch (field.role) {
    case FieldRole::kComment:
      return "A comment: the field holds a dash, so it is passed over.";
    case FieldRole::kUnknownKey:
      return "A key field that matches no key: the record it was meant to start is dropped, and "
             "its values are read as key fields.";
    case FieldRole::kFiller:
      return "A field where a key may stand that carries nothing.";
    case FieldRole::kHeadingSearch:
      return "Read while looking for `[generale]`: everything before it is passed over.";
    case FieldRole::kUnexamined:
      return "The last field of the text: it is never tested as a key.";
    case FieldRole::kKey:
    case FieldRole::kValue:
      break;
  }
  return "";
}

// The findings at the field, with the long form of each code.
std::string findings_words(const DocumentPlace& place, FieldSite site) {
  std::string out;
  for (const Diagnostic& d : place.analysis.diagnostics) {
    if (d.description != place.description || !(d.site == site)) continue;
    out += "\n\n---\n\n" + std::string(severity_name(d.severity));
    if (d.code != 0) out += " " + std::to_string(d.code);
    out += ": " + displayable_line(d.message);
    if (const CodeExplanation* e = d.code != 0 ? code_explanation(d.code) : nullptr) {
      out += "\n\n```text\n" + explanation_text(*e) + "```";
    }
  }
  return out;
}

}  // namespace

Json hover(const DocumentPlace& place, const Json& params) {
  const FieldSite site = site_of_request(place, params);
  const DescriptionSide& side = place.side();
  const OutlineField* field = side.outline().field_at(site);
  if (field == nullptr) return nullptr;
  std::string words;
  if (field->record >= 0 && (field->role == FieldRole::kKey || field->role == FieldRole::kValue)) {
    const OutlineRecord& record = side.outline().records()[static_cast<size_t>(field->record)];
    words = field->role == FieldRole::kKey
                ? record_words(*record.rule)
                : value_words(place.analysis, side.outline(), record, *field);
  } else {
    words = role_words(*field);
  }
  words += findings_words(place, field->site);
  if (words.empty()) return nullptr;
  return {{"contents", {{"kind", "markdown"}, {"value", words}}},
          {"range", range_json(side, field->site, std::max(field->length, 1), place.encoding)}};
}

}  // namespace tracciato::lsp
