// The language server as an editor meets it: the example scenario opened in
// both documents, with a mistyped key and a signal moved onto an occupied
// cell, then the questions an author asks about them.
#include <gtest/gtest.h>

#include <string>

#include "authoring/embedded_scenario.h"
#include "lsp/lsp_session.h"
#include "text/windows1252.h"

namespace tracciato::test_support {
namespace {

const std::string kLineUri = "file:///scenario/Tarvo_Belmira_linea.txt";
const std::string kTrainUri = "file:///scenario/Tarvo_Belmira_7351-.txt";

// Line `n` (1-based) of a CR LF text replaced by `f` of it.
template <typename F>
std::string with_line(std::string text, int n, F f) {
  size_t start = 0;
  for (int i = 1; i < n; ++i) start = text.find("\r\n", start) + 2;
  const size_t end = text.find("\r\n", start);
  return text.substr(0, start) + f(text.substr(start, end - start)) + text.substr(end);
}

std::string replaced(std::string s, const std::string& from, const std::string& to) {
  return s.replace(s.find(from), from.size(), to);
}

// The example's train: line 29's key mistyped, line 31's signal moved from
// 11000 m onto the cell of line 30's signal at 8050 m.
std::string broken_train() {
  std::string train = windows1252_to_utf8(embedded_train_text());
  train = with_line(train, 29, [](std::string l) { return replaced(l, "segnale", "segnalle"); });
  return with_line(train, 31, [](std::string l) { return replaced(l, "11000", "8050 "); });
}

Session opened_example(const std::string& train = broken_train()) {
  Session s;
  s.initialize();
  s.open(kLineUri, windows1252_to_utf8(embedded_line_text()));
  s.open(kTrainUri, train);
  return s;
}

Json range(int line, int from, int to) {
  return {{"start", position(line, from)}, {"end", position(line, to)}};
}

const Json* find_diagnostic(const Json& published, int severity) {
  for (const Json& d : published["diagnostics"]) {
    if (d["severity"] == severity) return &d;
  }
  return nullptr;
}

TEST(LspTranscript, TheMistypedKeyAndTheOccupiedCellAreShownWhereTheyAre) {
  Session s = opened_example();
  const SessionResult r = s.end().run();
  EXPECT_EQ(r.status, 0);
  const Json train = r.last_diagnostics(kTrainUri);
  ASSERT_FALSE(train.is_null());
  EXPECT_EQ(train["version"], 1);

  const Json* warning = find_diagnostic(train, 2);
  ASSERT_NE(warning, nullptr);
  EXPECT_EQ((*warning)["range"], range(28, 0, 8));
  EXPECT_EQ((*warning)["message"],
            "key field 'segnalle' matches no key and starts no record; did you mean 'segnale'?");

  const Json* error = find_diagnostic(train, 1);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ((*error)["code"], 16);
  EXPECT_EQ((*error)["range"], range(30, 11, 15));  // "8050", the value refused
  EXPECT_EQ((*error)["message"],
            "the signal's cell 162 (8050 to 8100 m) is already occupied by a signal");
  const Json& related = (*error)["relatedInformation"][0];
  EXPECT_EQ(related["location"]["uri"], kTrainUri);
  EXPECT_EQ(related["location"]["range"]["start"], position(29, 0));
  EXPECT_EQ(related["message"], "a signal was placed by this record, at 8050 m");

  // The line description is analysed with the train, and has nothing wrong.
  const Json line = r.last_diagnostics(kLineUri);
  ASSERT_FALSE(line.is_null());
  EXPECT_TRUE(line["diagnostics"].empty());
}

TEST(LspTranscript, TheQuickFixAppliedByTheEditorClearsTheWarning) {
  Session s = opened_example();
  s.request(1, "textDocument/codeAction",
            {{"textDocument", {{"uri", kTrainUri}}},
             {"range", range(28, 3, 3)},
             {"context", {{"diagnostics", Json::array()}}}});
  const Json actions = s.run().reply(1)["result"];
  ASSERT_EQ(actions.size(), 1u);
  EXPECT_EQ(actions[0]["kind"], "quickfix");
  const Json edit = actions[0]["edit"]["changes"][kTrainUri][0];
  EXPECT_EQ(edit["range"], range(28, 0, 8));
  EXPECT_EQ(edit["newText"], "segnale");

  // The editor applies the edit as it was given and tells the server.
  s.notify(
      "textDocument/didChange",
      {{"textDocument", {{"uri", kTrainUri}, {"version", 2}}},
       {"contentChanges", Json::array({{{"range", edit["range"]}, {"text", edit["newText"]}}})}});
  const SessionResult r = s.end().run();
  const Json train = r.last_diagnostics(kTrainUri);
  EXPECT_EQ(train["version"], 2);
  EXPECT_EQ(find_diagnostic(train, 2), nullptr);
  // Only the bytes of the key changed: the signal now reads at 6850 m, and
  // the occupied cell is still reported.
  EXPECT_NE(find_diagnostic(train, 1), nullptr);
}

TEST(LspTranscript, HoverNamesTheValueAndWhatItsCellHolds) {
  Session s = opened_example();
  s.request(1, "textDocument/hover", text_position(kTrainUri, 29, 13));  // 8050 of line 30
  s.request(2, "textDocument/hover", text_position(kTrainUri, 29, 2));   // its key
  s.request(3, "textDocument/hover", text_position(kTrainUri, 30, 12));  // the refused 8050
  const SessionResult r = s.end().run();
  const std::string position_hover = r.reply(1)["result"]["contents"]["value"];
  EXPECT_NE(position_hover.find("**position**: value 1 of `segnale` (signal)"), std::string::npos);
  EXPECT_NE(position_hover.find("Lands in cell 162 (8050 to 8100 m)"), std::string::npos);
  EXPECT_NE(position_hover.find("kilometric value km 67+750."), std::string::npos);
  EXPECT_NE(position_hover.find("The compile placed there: s 4 1 0"), std::string::npos);
  EXPECT_EQ(r.reply(1)["result"]["range"], range(29, 12, 16));

  const std::string key_hover = r.reply(2)["result"]["contents"]["value"];
  EXPECT_NE(key_hover.find("**signal** (`segnale`)"), std::string::npos);
  EXPECT_NE(key_hover.find("Values: position (m), sx, s1"), std::string::npos);

  // A refused value carries its error and the long form of its code.
  const std::string refused = r.reply(3)["result"]["contents"]["value"];
  EXPECT_NE(refused.find("error 16: the signal's cell 162"), std::string::npos);
  EXPECT_NE(refused.find("```text\nerror 16: the signal's cell is already occupied"),
            std::string::npos)
      << refused;
}

TEST(LspTranscript, SignatureHelpAndInlayHintsNameEachValue) {
  Session s = opened_example();
  s.request(1, "textDocument/signatureHelp", text_position(kTrainUri, 29, 21));  // on sx
  s.request(2, "textDocument/inlayHint",
            {{"textDocument", {{"uri", kTrainUri}}}, {"range", range(29, 0, 0)}});
  const SessionResult r = s.end().run();
  const Json help = r.reply(1)["result"];
  EXPECT_EQ(help["signatures"][0]["label"],
            "segnale, position, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo");
  EXPECT_EQ(help["activeParameter"], 1);
  const Json hints = r.reply(2)["result"];
  ASSERT_EQ(hints.size(), 11u);
  EXPECT_EQ(hints[0]["label"], "position:");
  EXPECT_EQ(hints[0]["position"], position(29, 12));
  EXPECT_EQ(hints[1]["label"], "sx:");
  EXPECT_EQ(hints[10]["label"], "tempo:");
}

TEST(LspTranscript, CompletionOffersTheKeysOfThePartWithPlaceholders) {
  Session s = opened_example();
  s.request(1, "textDocument/completion", text_position(kTrainUri, 40, 0));
  s.request(2, "textDocument/completion", text_position(kLineUri, 2, 0));
  const SessionResult r = s.end().run();
  const auto labels = [](const Json& result) {
    std::vector<std::string> out;
    for (const Json& item : result["items"]) out.push_back(item["label"]);
    return out;
  };
  const std::vector<std::string> train = labels(r.reply(1)["result"]);
  EXPECT_NE(std::find(train.begin(), train.end(), "segnale"), train.end());
  EXPECT_EQ(std::find(train.begin(), train.end(), "pendenza"), train.end());
  const Json items = r.reply(1)["result"]["items"];
  for (const Json& item : items) {
    if (item["label"] == "stazione") {
      EXPECT_EQ(
          item["insertText"].get<std::string>().rfind("stazione, ${1:position}, ${2:kind}", 0), 0u);
    }
  }
  const std::vector<std::string> general = labels(r.reply(2)["result"]);
  EXPECT_EQ(std::find(general.begin(), general.end(), "segnale"), general.end());
  EXPECT_NE(std::find(general.begin(), general.end(), "sfondo uno"), general.end());
  EXPECT_EQ(std::find(general.begin(), general.end(), "pendenza"), general.end());

  // A heading ends the general section: after it, before any feature is
  // written, come the features' keys.
  Session started;
  started.initialize();
  started.open(kLineUri, "[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\n");
  started.request(1, "textDocument/completion", text_position(kLineUri, 3, 0));
  const std::vector<std::string> features = labels(started.end().run().reply(1)["result"]);
  EXPECT_NE(std::find(features.begin(), features.end(), "pendenza"), features.end());
  EXPECT_EQ(std::find(features.begin(), features.end(), "sfondo uno"), features.end());
}

TEST(LspTranscript, SymbolsListTheGeneralSectionStationsSignalsAndSlowdowns) {
  // The example has no slowdown: one is added after the last signal.
  Session s = opened_example(with_line(broken_train(), 36, [](std::string l) {
    return l + "\r\nrallentamento, 30000, 60, 400, 0, 0, 0";
  }));
  s.request(1, "textDocument/documentSymbol", {{"textDocument", {{"uri", kTrainUri}}}});
  const Json symbols = s.end().run().reply(1)["result"];
  ASSERT_FALSE(symbols.empty());
  EXPECT_EQ(symbols[0]["name"], "[generale]");
  bool station = false, signal = false, slowdown = false;
  for (const Json& sym : symbols) {
    const std::string name = sym["name"];
    station |= name.rfind("station BELMIRA at ", 0) == 0;
    signal |= name == "signal at 8050 m";
    slowdown |= name == "slowdown at 30000 m";
  }
  EXPECT_TRUE(station);
  EXPECT_TRUE(signal);
  EXPECT_TRUE(slowdown);
}

TEST(LspTranscript, DefinitionGoesFromTheRefusedRecordToTheOneInItsWay) {
  Session s = opened_example();
  s.request(1, "textDocument/definition", text_position(kTrainUri, 30, 12));
  const Json found = s.end().run().reply(1)["result"];
  EXPECT_EQ(found["uri"], kTrainUri);
  EXPECT_EQ(found["range"]["start"], position(29, 0));
}

TEST(LspTranscript, SemanticTokensSetTheMistypedKeyApart) {
  Session s = opened_example();
  s.request(1, "textDocument/semanticTokens/range",
            {{"textDocument", {{"uri", kTrainUri}}}, {"range", range(28, 0, 29)}});
  const Json data = s.end().run().reply(1)["result"]["data"];
  // The first token is line 29's key: a key that matches no key (type 5).
  ASSERT_GE(data.size(), 5u);
  EXPECT_EQ(data[0], 28);
  EXPECT_EQ(data[1], 0);
  EXPECT_EQ(data[2], 8);
  EXPECT_EQ(data[3], 5);
}

}  // namespace
}  // namespace tracciato::test_support
