// Writes the fuzz targets' first inputs, all from the embedded scenario: its
// descriptions, the three files they compile into, its package's payload
// and a replacement record of its files.
//
// Usage: make_seeds FOLDER   (one subfolder per target)
#include <cstdint>
#include <cstdio>
#include <cstring>
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
    {
      // Two lengths, then the cell, item and track files.
      const std::string cells = encode_cell_file(*model);
      const std::string items = encode_item_file(*model);
      std::string lengths(8, '\0');
      const uint32_t sizes[] = {static_cast<uint32_t>(cells.size()),
                                static_cast<uint32_t>(items.size())};
      std::memcpy(lengths.data(), sizes, sizeof sizes);
      seed(folder, "decompile", "embedded", lengths + cells + items + encode_track_file(*model));
    }

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
    // The first byte has the editor pause between messages.
    using Json = nlohmann::json;
    const auto message = [](const Json& m) { return lsp::frame_message(m.dump()); };
    const auto request = [&](int id, const char* method, Json params) {
      return message({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
    };
    const auto notify = [&](const char* method, Json params) {
      return message({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
    };
    const std::string line_uri = "file:///s/Tarvo_Belmira_linea.txt";
    const std::string train_uri = "file:///s/Tarvo_Belmira_7351-.txt";
    const auto open = [&](const std::string& uri, const std::string& text) {
      const Json doc = {{"uri", uri},
                        {"languageId", "text"},
                        {"version", 1},
                        {"text", windows1252_to_utf8(text)}};
      return notify("textDocument/didOpen", {{"textDocument", doc}});
    };
    const Json document = {{"uri", train_uri}};
    const Json at = {{"line", 28}, {"character", 13}};
    std::string session = "\1" + request(1, "initialize", Json::object()) + open(line_uri, line) +
                          open(train_uri, train);
    int id = 2;
    for (const char* method : {"textDocument/hover", "textDocument/signatureHelp",
                               "textDocument/completion", "textDocument/definition"}) {
      session += request(id++, method, {{"textDocument", document}, {"position", at}});
    }
    for (const char* method : {"textDocument/documentSymbol", "textDocument/semanticTokens/full"}) {
      session += request(id++, method, {{"textDocument", document}});
    }
    const Json range = {{"start", {{"line", 28}, {"character", 0}}},
                        {"end", {{"line", 28}, {"character", 7}}}};
    session +=
        notify("textDocument/didChange",
               {{"textDocument", {{"uri", train_uri}, {"version", 2}}},
                {"contentChanges", Json::array({{{"range", range}, {"text", "segnalle"}}})}});
    session += request(id++, "shutdown", nullptr);
    session += notify("exit", nullptr);
    seed(folder, "lsp", "session", session);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_seeds: %s\n", e.what());
    return 1;
  }
}
