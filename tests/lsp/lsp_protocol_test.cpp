// The server stays up whatever the editor sends: broken framing, broken
// JSON, unknown methods, requests out of turn, cancels, huge buffers and
// floods of changes each get a clear answer or a log line, and the session
// goes on.
#include <gtest/gtest.h>

#include <string>

#include "lsp/lsp_session.h"

namespace tracciato::test_support {
namespace {

const std::string kTrainUri = "file:///nowhere/L_1-.txt";

int error_code(const Json& reply) { return reply["error"]["code"]; }

TEST(LspProtocol, ExitEndsWithZeroOnlyAfterShutdown) {
  struct Case {
    const char* name;
    bool shutdown;
    int status;
  } cases[] = {{"shutdown then exit", true, 0}, {"exit alone", false, 1}};
  for (const Case& c : cases) {
    Session s;
    s.initialize();
    if (c.shutdown) s.request(1, "shutdown");
    s.notify("exit");
    EXPECT_EQ(s.run().status, c.status) << c.name;
  }
  // The input ending without exit is an editor gone away.
  Session gone;
  gone.initialize();
  EXPECT_EQ(gone.run().status, 1);
}

TEST(LspProtocol, EachFaultGetsItsAnswerAndTheSessionGoesOn) {
  Session s;
  s.request(1, "textDocument/hover", text_position(kTrainUri, 0, 0));  // before initialize
  s.initialize();
  s.raw("Content-Length: 9\r\n\r\n{\"jsonrp\"");  // not JSON
  s.raw("Content-Length: 2\r\n\r\n[]");           // not a message
  s.raw("Content-Type: x\r\n\r\n");               // no length
  s.raw("Content-Length: many\r\n\r\n");          // a length that is no number
  s.raw(std::string(10000, 'x') + "\r\n\r\n");    // a header line too long
  s.request(2, "no/suchMethod");
  s.request(3, "shutdown");
  s.request(4, "textDocument/hover", text_position(kTrainUri, 0, 0));  // after shutdown
  s.notify("exit");
  const SessionResult r = s.run();
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(error_code(r.reply(1)), -32002);
  EXPECT_EQ(error_code(r.reply(2)), -32601);
  EXPECT_TRUE(r.reply(3).contains("result"));
  EXPECT_EQ(error_code(r.reply(4)), -32600);
  int parse_errors = 0, invalid = 0;
  for (const Json& m : r.sent) {
    if (!m.contains("error") || !m["id"].is_null()) continue;
    parse_errors += error_code(m) == -32700;
    invalid += error_code(m) == -32600;
  }
  EXPECT_EQ(parse_errors, 1);
  EXPECT_EQ(invalid, 1);
  const auto logged = [&](const std::string& words) {
    for (const std::string& line : r.log) {
      if (line.find(words) != std::string::npos) return true;
    }
    return false;
  };
  EXPECT_TRUE(logged("a message header with no Content-Length"));
  EXPECT_TRUE(logged("a Content-Length that is not a number"));
  EXPECT_TRUE(logged("a header line longer than 8192 bytes"));
}

TEST(LspProtocol, ACancelReachesTheRequestStillWaiting) {
  Session s;
  s.initialize();
  s.request(7, "textDocument/documentSymbol", {{"textDocument", {{"uri", kTrainUri}}}});
  s.notify("$/cancelRequest", {{"id", 7}});
  s.end();
  // Everything arrives at once: the cancel is read before the request runs.
  const SessionResult r = s.run(false);
  EXPECT_EQ(error_code(r.reply(7)), -32800);
}

TEST(LspProtocol, AFloodOfChangesPublishesOnlyTheLatestVersion) {
  Session s;
  s.initialize();
  s.open(kTrainUri, "[generale]\r\n");
  for (int v = 2; v <= 200; ++v) {
    s.notify(
        "textDocument/didChange",
        {{"textDocument", {{"uri", kTrainUri}, {"version", v}}},
         {"contentChanges",
          Json::array({{{"text", "[generale]\r\nsegnalle, " + std::to_string(v) + "\r\n"}}})}});
  }
  const SessionResult r = s.run(false);
  int published = 0;
  for (const Json& m : r.sent) {
    if (m.value("method", "") != "textDocument/publishDiagnostics") continue;
    ++published;
    EXPECT_EQ(m["params"]["version"], 200);
  }
  EXPECT_EQ(published, 1);
}

TEST(LspProtocol, AFiftyMegabyteBufferIsAnalysedAndTheServerAnswersAfterIt) {
  std::string text = "[generale]\r\n";
  const std::string comment = "- a comment line of some length to fill the buffer, no record\r\n";
  text.reserve(50u << 20);
  while (text.size() < (50u << 20)) text += comment;
  Session s;
  s.initialize();
  s.open(kTrainUri, text);
  s.request(1, "textDocument/hover", text_position(kTrainUri, 1, 0));
  s.end();
  const SessionResult r = s.run();
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.reply(1).contains("result"));
  EXPECT_FALSE(r.last_diagnostics(kTrainUri).is_null());
}

TEST(LspProtocol, PositionsAreCountedInTheEncodingTheEditorOffers) {
  // "à" is two UTF-8 bytes and one UTF-16 unit; the key after it stands at
  // byte column 6 of the Windows-1252 text either way.
  const std::string text = "[generale]\r\n- \xC3\xA0, segnale, 5, 1, 0,0,0,0,0,0,0,0,0\r\n";
  struct Case {
    Json capabilities;
    const char* encoding;
    int key_start;
  } cases[] = {
      {Json::object(), "utf-16", 5},
      {{{"general", {{"positionEncodings", {"utf-8", "utf-16"}}}}}, "utf-8", 6},
  };
  for (const Case& c : cases) {
    Session s;
    s.initialize(c.capabilities);
    s.open(kTrainUri, text);
    s.request(1, "textDocument/hover", text_position(kTrainUri, 1, c.key_start + 1));
    const SessionResult r = s.end().run();
    EXPECT_EQ(r.reply(0)["result"]["capabilities"]["positionEncoding"], c.encoding);
    const Json hover = r.reply(1)["result"];
    ASSERT_FALSE(hover.is_null()) << c.encoding;
    EXPECT_EQ(hover["range"]["start"], position(1, c.key_start)) << c.encoding;
    EXPECT_EQ(hover["range"]["end"], position(1, c.key_start + 7)) << c.encoding;
    EXPECT_NE(hover["contents"]["value"].get<std::string>().find("(`segnale`)"), std::string::npos);
  }
}

TEST(LspProtocol, AFileSavedAsUtf8ButOpenedAsWindows1252GetsTheCompilesWarning) {
  // "città" saved as UTF-8 and opened as Windows-1252 shows as "cittÃ ".
  Session s;
  s.initialize();
  s.open(kTrainUri, "[generale]\r\n- citt\xC3\x83\xC2\xA0\r\n");
  const Json published = s.end().run().last_diagnostics(kTrainUri);
  bool found = false;
  for (const Json& d : published["diagnostics"]) {
    if (d["message"].get<std::string>().rfind("the description reads as UTF-8", 0) != 0) continue;
    found = true;
    EXPECT_EQ(d["severity"], 2);
    EXPECT_EQ(d["range"]["start"], position(1, 6));
  }
  EXPECT_TRUE(found);
}

TEST(LspProtocol, ACharacterTheCodePageCannotHoldIsAnErrorAtItsColumn) {
  Session s;
  s.initialize();
  s.open(kTrainUri, "[generale]\r\n- \xE2\x86\x92 no arrow in the code page\r\n");
  const Json published = s.end().run().last_diagnostics(kTrainUri);
  bool found = false;
  for (const Json& d : published["diagnostics"]) {
    if (d["severity"] != 1) continue;
    found = true;
    EXPECT_EQ(d["range"]["start"], position(1, 2));
    EXPECT_NE(d["message"].get<std::string>().find("U+2192"), std::string::npos);
  }
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace tracciato::test_support
