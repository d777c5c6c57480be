// Completion: the keys of the part of the description the cursor is in,
// each with its values as placeholders.
#include "lsp/features.h"

namespace tracciato::lsp {
namespace {

std::string_view part_words(GrammarPart part) {
  switch (part) {
    case GrammarPart::kLineGeneral:
      return "line description, general section";
    case GrammarPart::kLineFeatures:
      return "line description, features";
    case GrammarPart::kTrain:
      break;
  }
  return "train description";
}

}  // namespace

Json completion(const DocumentPlace& place, const Json& params) {
  const FieldSite site = site_of_request(place, params);
  std::optional<GrammarPart> part = place.side().outline().part_at(site);
  if (!part) {
    part =
        place.description == Description::kTrain ? GrammarPart::kTrain : GrammarPart::kLineGeneral;
  }
  Json items = Json::array();
  std::vector<std::string_view> offered;
  for (const RecordRule& rule : grammar_records(*part)) {
    // Rows of one key read several ways are offered once.
    if (std::find(offered.begin(), offered.end(), rule.shown_key) != offered.end()) continue;
    offered.push_back(rule.shown_key);
    std::string snippet = std::string(rule.shown_key);
    std::string detail;
    int n = 1;
    for (const ValueRule& v : rule.values) {
      snippet += ", ${" + std::to_string(n++) + ":" + std::string(v.name) + "}";
      detail += (detail.empty() ? "" : ", ") + std::string(v.name);
    }
    items.push_back({{"label", rule.shown_key},
                     {"kind", 14},
                     {"detail", std::string(rule.name) + ": " + detail},
                     {"documentation", std::string(part_words(*part)) +
                                           ". Places: " + std::string(rule.places) + "."},
                     {"insertText", snippet},
                     {"insertTextFormat", 2}});
  }
  return {{"isIncomplete", false}, {"items", std::move(items)}};
}

}  // namespace tracciato::lsp
