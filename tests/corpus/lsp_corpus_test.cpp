// The language server and `tracciato lint --json` over the whole
// characterization corpus: for every case, the diagnostics the server
// publishes for the two open documents are lint's, one for one, at the same
// places, with the same codes and words.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "corpus/scenario_corpus.h"
#include "lsp/document_uri.h"
#include "lsp/lsp_session.h"
#include "platform/utf8_path.h"
#include "text/windows1252.h"
#include "tools/compile_report.h"
#include "tools/lint_report.h"

namespace tracciato::corpus {
namespace {

using test_support::Json;

// One diagnostic as both sides can say it: "file line:column severity code
// message"; the place left out where lint knows none.
using Said = std::vector<std::string>;

std::string said(const std::string& file, const Json& line, const Json& column,
                 const std::string& severity, const Json& code, const std::string& message) {
  // An editor shows a finding of no place at the start of the text, where
  // one at 1:1 of an empty text stands too: the two are taken as one.
  std::string place = line.is_null() || line == 0 ? "-" : line.dump() + ":" + column.dump();
  if (place == "1:1") place = "-";
  return file + " " + place + " " + severity + " " + (code.is_null() ? "-" : code.dump()) + " " +
         message;
}

Said lint_said(const Json& report) {
  Said out;
  // A finding of no description is shown with the line description.
  const auto add = [&](const Json& d) {
    // Told by its name, which each system writes its own way.
    const bool train =
        !d["file"].is_null() && !d["file"].get<std::string>().ends_with("_linea.txt");
    out.push_back(said(train ? "train" : "line", d["line"], d["column"], d["severity"], d["code"],
                       d["message"]));
  };
  for (const Json& d : report["warnings"]) add(d);
  for (const Json& d : report["compile"]["diagnostics"]) add(d);
  if (!report["compile"]["stop"].is_null()) out.push_back("stop");
  std::sort(out.begin(), out.end());
  return out;
}

Said server_said(const test_support::SessionResult& r, const std::string& line_uri,
                 const std::string& train_uri, const std::string& stop_sentence_text) {
  Said out;
  for (const auto& [uri, file] : {std::pair{line_uri, "line"}, std::pair{train_uri, "train"}}) {
    const Json published = r.last_diagnostics(uri);
    if (published.is_null()) {
      out.push_back(std::string("nothing published for the ") + file);
      continue;
    }
    for (const Json& d : published["diagnostics"]) {
      if (d["message"] == stop_sentence_text && !stop_sentence_text.empty()) {
        out.push_back("stop");
        continue;
      }
      const Json& start = d["range"]["start"];
      const bool placeless =
          start["line"] == 0 && start["character"] == 0 && d["range"]["end"] == start;
      out.push_back(said(file, placeless ? Json(0) : Json(start["line"].get<int>() + 1),
                         Json(start["character"].get<int>() + 1),
                         d["severity"] == 1 ? "error" : "warning",
                         d.contains("code") ? d["code"] : Json(nullptr), d["message"]));
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(LspCorpus, TheServerPublishesWhatLintReportsForEveryCase) {
  int compared = 0;
  int differing = 0;
  for (int i = 0; i < kCorpusSize; ++i) {
    const CorpusCase c = corpus_case(i);
    if (!c.line_exists || !c.train_exists) continue;
    const std::string line_name = windows1252_to_utf8(c.line_name);
    const std::string line_file = "/corpus/" + line_name + "_linea.txt";
    const std::string train_file =
        "/corpus/" + line_name + "_" + windows1252_to_utf8(c.train_number) + "-.txt";

    AuthorDescriptions descriptions{path_from_utf8(line_file), path_from_utf8(train_file),
                                    c.line_text, c.train_text};
    const auto [lint_line_name, lint_train_number] = analysis_names(line_file, train_file);
    const LintResult lint = lint_scenario(descriptions, lint_line_name, lint_train_number);
    const Json report = Json::parse(lint_report_json(descriptions, lint));

    const std::string line_uri = lsp::uri_of_path(descriptions.line_file);
    const std::string train_uri = lsp::uri_of_path(descriptions.train_file);
    test_support::Session s;
    s.initialize();
    s.open(line_uri, windows1252_to_utf8(c.line_text));
    s.open(train_uri, windows1252_to_utf8(c.train_text));
    const test_support::SessionResult r = s.end().run();

    ++compared;
    const Said expected = lint_said(report);
    const Said got =
        server_said(r, line_uri, train_uri, std::string(stop_sentence(lint.compile.stop)));
    if (got != expected && ++differing <= 3) {
      ADD_FAILURE() << "case " << i << ": lint says\n  " << testing::PrintToString(expected)
                    << "\nthe server says\n  " << testing::PrintToString(got);
    }
  }
  EXPECT_EQ(differing, 0) << "of " << compared << " cases";
  EXPECT_GT(compared, kCorpusSize / 2);
}

}  // namespace
}  // namespace tracciato::corpus
