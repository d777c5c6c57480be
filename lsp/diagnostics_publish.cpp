// The findings of an analysis as the editor shows them, for one document.
#include "lsp/features.h"
#include "tools/diagnostic_format.h"

namespace tracciato::lsp {
namespace {

int severity_number(Severity severity) {
  switch (severity) {
    case Severity::kError:
      return 1;
    case Severity::kWarning:
      return 2;
    case Severity::kNote:
      break;
  }
  return 3;
}

Json diagnostic_json(const DocumentPlace& place, const Diagnostic& d) {
  const DescriptionSide& side = place.side();
  Json out = {{"range", field_range_json(side, d.site, place.encoding)},
              {"severity", severity_number(d.severity)},
              {"source", "tracciato"},
              {"message", displayable_line(d.message)}};
  if (d.code != 0) out["code"] = d.code;
  if (d.position) out["data"] = {{"position", *d.position}};
  Json related = Json::array();
  for (const DiagnosticNote& note : d.notes) {
    const DescriptionSide& at =
        note.description == Description::kNone ? side : place.analysis.side(note.description);
    if (at.uri.empty()) continue;
    related.push_back(
        {{"location",
          {{"uri", at.uri}, {"range", field_range_json(at, note.site, place.encoding)}}},
         {"message", displayable_line(note.message)}});
  }
  if (!related.empty()) out["relatedInformation"] = std::move(related);
  return out;
}

}  // namespace

Json diagnostics_params(const DocumentPlace& place, int32_t version) {
  Json list = Json::array();
  for (const Diagnostic& d : place.analysis.diagnostics) {
    // A finding of no description is the scenario's: shown with the line.
    const Description at = d.description == Description::kNone ? Description::kLine : d.description;
    if (at != place.description) continue;
    list.push_back(diagnostic_json(place, d));
  }
  return {{"uri", place.side().uri}, {"version", version}, {"diagnostics", std::move(list)}};
}

}  // namespace tracciato::lsp
