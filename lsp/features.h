// What the language server answers, each from one analysis of a pair
// (pair_analysis.h). Every position in and out is the editor's, counted in
// the negotiated encoding.
#pragma once

#include <string>
#include <vector>

#include "lsp/editor_text.h"
#include "lsp/json_rpc.h"
#include "lsp/pair_analysis.h"

namespace tracciato::lsp {

// What a request is about: a document of an analysed pair and a place in it.
struct DocumentPlace {
  const PairAnalysis& analysis;
  Description description;  // which side of the pair the document is
  PositionEncoding encoding;

  const DescriptionSide& side() const { return analysis.side(description); }
};

// The JSON range of `length` bytes from `site` in a side's text.
Json range_json(const DescriptionSide& side, FieldSite site, int32_t length,
                PositionEncoding encoding);
// The range of the field at `site` as the outline knows it (one character
// when it knows none there).
Json field_range_json(const DescriptionSide& side, FieldSite site, PositionEncoding encoding);
// The place a request names, in the compiler's (line, byte column).
FieldSite site_of_request(const DocumentPlace& place, const Json& params);

// textDocument/publishDiagnostics parameters for one side of the pair.
Json diagnostics_params(const DocumentPlace& place, int32_t version);

Json hover(const DocumentPlace& place, const Json& params);
Json signature_help(const DocumentPlace& place, const Json& params);
Json inlay_hints(const DocumentPlace& place, const Json& params);
Json completion(const DocumentPlace& place, const Json& params);
Json document_symbols(const DocumentPlace& place);
Json definition(const DocumentPlace& place, const Json& params);
Json code_actions(const DocumentPlace& place, const Json& params);

// The token kinds semantic tokens use, in the legend's order.
const std::vector<std::string>& semantic_token_types();
Json semantic_tokens(const DocumentPlace& place, const std::optional<Range>& range);

// The range in a request's parameters ("range").
Range range_of_request(const Json& params);

}  // namespace tracciato::lsp
