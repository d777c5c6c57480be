// Writes the fuzz targets' first inputs, all from the embedded scenario: its
// descriptions, the three files they compile into, its package's payload
// and a replacement record of its files.
//
// Usage: make_seeds FOLDER   (one subfolder per target)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "compiler/description_source.h"
#include "driver/compile_driver.h"
#include "driver/install_scenario.h"
#include "output/scenario_output.h"
#include "package/payload.h"
#include "platform/crc32.h"
#include "platform/file_replace.h"
#include "platform/replacement_record.h"

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
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_seeds: %s\n", e.what());
    return 1;
  }
}
