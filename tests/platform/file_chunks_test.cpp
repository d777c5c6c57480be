#include "platform/file_chunks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/file_replace.h"
#include "platform/scratch_folder.h"

namespace tracciato {
namespace {

using testing::ElementsAre;

const std::string kName = "Tarvo_Belmira_linea.dat";

TEST(ReplaceFileInChunks, WritesEveryChunkInOrder) {
  ScratchFolder folder;
  folder.put(kName, std::string(100000, 'o'));  // an earlier, longer file
  replace_file_in_chunks(folder / kName, [](const FileChunkSink& sink) {
    sink("first ");
    sink("");
    sink(std::string(70000, 'x'));
    sink(std::string_view("\0last", 5));
  });
  EXPECT_EQ(read_file(folder / kName),
            "first " + std::string(70000, 'x') + std::string("\0last", 5));
  EXPECT_THAT(folder.names(), ElementsAre(kName));
}

TEST(ReplaceFileInChunks, AFailingProducerLeavesTheEarlierFileWhole) {
  ScratchFolder folder;
  folder.put(kName, "earlier");
  EXPECT_THROW(replace_file_in_chunks(folder / kName,
                                      [](const FileChunkSink& sink) {
                                        sink("half of it");
                                        throw std::runtime_error("cut short");
                                      }),
               std::runtime_error);
  EXPECT_EQ(read_file(folder / kName), "earlier");
  EXPECT_THAT(folder.names(), ElementsAre(kName));
}

}  // namespace
}  // namespace tracciato
