// A folder of its own holding the embedded scenario's two descriptions, in
// which a test runs the built `tracciato` as an author does.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/document.h"
#include "platform/file_replace.h"
#include "support/temp_folder.h"
#include "tool_process.h"

namespace tracciato::test_support {

inline constexpr const char* kLine = "Tarvo_Belmira_linea.txt";
inline constexpr const char* kTrain = "Tarvo_Belmira_7351-.txt";

class DescriptionFolder : public ::testing::Test {
 protected:
  DescriptionFolder() {
    replace_file(folder_ / kLine, render_document(line_description_document()));
    replace_file(folder_ / kTrain, render_document(train_description_document()));
  }

  ProgramRun run(const std::vector<std::string>& args) {
    return run_tracciato(folder_.path(), args);
  }

  std::string file(const std::string& name) { return read_file(folder_ / name); }

  TempFolder folder_;
};

}  // namespace tracciato::test_support
