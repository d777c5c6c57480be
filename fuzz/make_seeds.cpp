// Writes the fuzz targets' first inputs, all from the embedded scenario: its
// descriptions, the three files they compile into, its package's payload
// and a replacement record of its files.
//
// Usage: make_seeds FOLDER   (one subfolder per target)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "compiler/description_source.h"
#include "driver/compile_driver.h"
#include "driver/install_scenario.h"
#include "lsp/message_framing.h"
#include "output/scenario_output.h"
#include "package/payload.h"
#include "platform/crc32.h"
#include "platform/file_replace.h"
#include "platform/replacement_record.h"
#include "text/windows1252.h"

namespace {

using namespace tracciato;
namespace fs = std::filesystem;

void seed(const fs::path& folder, const std::string& target, const std::string& name,
          const std::string& bytes) {
  fs::create_directories(folder / target);
  replace_file(folder / target / name, bytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds FOLDER\n");
    return 2;
  }
  try {
    const fs::path folder = argv[1];
    const InstallScenario embedded = embedded_install_scenario();
    const std::string& line = embedded.document(DocumentKind::kLineDescription);
    const std::string& train = embedded.document(DocumentKind::kTrainDescription);
    const std::string descriptions = line + std::string(1, '\0') + train;
    for (const char* target : {"compile", "lint", "plot"}) {
      seed(folder, target, "embedded", descriptions);
    }

    auto model = std::make_unique<ScenarioModel>();
    model->line_name = embedded.line_name;
    model->train_number = embedded.train_number;
    DescriptionTexts source(line, train);
    compile_scenario(*model, 1, source);
    seed(folder, "inspect", "cells", std::string(1, '\0') + encode_cell_file(*model));
    seed(folder, "inspect", "items", std::string(1, '\1') + encode_item_file(*model));
    seed(folder, "inspect", "track", std::string(1, '\2') + encode_track_file(*model));

    const std::string stub =
        "\x7F"
        "ELF the install program";
    seed(folder, "payload", "embedded", stub + encode_payload(stub, embedded));

    ReplacementRecord record;
    for (const std::string& name :
         {std::string("Tarvo_Belmira_7351.dat"), std::string("Tarvo_Belmira_7351.sim")}) {
      record.files.push_back({name, name + ".tmp", name + ".earlier", 11715, crc32(name)});
    }
    seed(folder, "replacement_record", "two_files", encode_replacement_record(record));

    // An editor's session over the example: open both, ask, change, close.
    const auto message = [](const nlohmann::json& m) { return lsp::frame_message(m.dump()); };
    const auto open = [&](const std::string& uri, const std::string& text) {
      return message({{"jsonrpc", "2.0"},
                      {"method", "textDocument/didOpen"},
                      {"params",
                       {{"textDocument",
                         {{"uri", uri},
                          {"languageId", "text"},
                          {"version", 1},
                          {"text", windows1252_to_utf8(text)}}}}}});
    };
    const std::string line_uri = "file:///s/Tarvo_Belmira_linea.txt";
    const std::string train_uri = "file:///s/Tarvo_Belmira_7351-.txt";
    std::string session =
        "\1" + message({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {}}}) +
        open(line_uri, line) + open(train_uri, train);
    int id = 2;
    for (const char* method : {"textDocument/hover", "textDocument/signatureHelp",
                               "textDocument/completion", "textDocument/definition"}) {
      session += message({
        {"jsonrpc", "2.0"}, {"id", id++}, {"method", method}, {
          "params", {
            {"textDocument", {{"uri", train_uri}}}, {
              "position", {
                {"line", 28}, { "character", 13 }
              }
            }
          }
        }}
    });
  }
  for (const char* method : {"textDocument/documentSymbol", "textDocument/semanticTokens/full"}) {
      session += message({
      {"jsonrpc", "2.0"}, {"id", id++}, {"method", method}, {
        "params", {
          {
            "textDocument", {
              { "uri", train_uri }
            }
          }
        }
      }}
  });
}
session += message({{"jsonrpc", "2.0"},
                    {"method", "textDocument/didChange"},
                    {"params",
                     {{"textDocument", {{"uri", train_uri}, {"version", 2}}},
                      {"contentChanges",
                       {{{"range",
                          {{"start", {{"line", 28}, {"character", 0}}},
                           {"end", {{"line", 28}, {"character", 7}}}}},
                         {"text", "segnalle"}}}}}}});
session += message({{"jsonrpc", "2.0"}, {"id", id++}, {"method", "shutdown"}});
session += message({{"jsonrpc", "2.0"}, {"method", "exit"}});
seed(folder, "lsp", "session", session);
return 0;
}
catch (const std::exception& e) {
  std::fprintf(stderr, "make_seeds: %s\n", e.what());
  return 1;
}
}
