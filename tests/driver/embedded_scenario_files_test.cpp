// The embedded scenario's three binary files, pinned byte for byte: any change
// in the parsers, the completion pass, the codes or the encoders that moves a
// single byte of what the simulator loads shows here.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "documents/document.h"
#include "driver/compile_driver.h"
#include "driver/form1.h"
#include "output/scenario_output.h"
#include "support/digest.h"

namespace tracciato {
namespace {

using test_support::fnv1a64;

TEST(EmbeddedScenarioFiles, CompileToTheirPinnedBytes) {
  ScenarioModel model;
  model.line_name = kEmbeddedLineName;
  model.train_number = kEmbeddedTrainNumber;
  MemoryDescriptions source(render_document(line_description_document()),
                            render_document(train_description_document()));
  ASSERT_EQ(compile_scenario(model, 1, source), CompileStop::kNone);
  ASSERT_EQ(model.error_code, 0);

  const struct {
    const char* file;
    std::string bytes;
    size_t size;
    uint64_t digest;
  } cases[] = {
      {"track", encode_track_file(model), 779964, 0x445afd93ce58abbbULL},
      {"item", encode_item_file(model), 4110, 0x0ac46e6e6f28152bULL},
      {"cell", encode_cell_file(model), 11715, 0xeb264c936dcf16cfULL},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.bytes.size(), c.size) << c.file;
    EXPECT_EQ(fnv1a64(c.bytes), c.digest) << c.file << std::hex << " 0x" << fnv1a64(c.bytes);
  }
}

}  // namespace
}  // namespace tracciato
