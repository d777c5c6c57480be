// The characterization corpus: thousands of generated scenarios, each with
// the error code, error position and stop it compiles to and the digest of
// the binary files it writes, pinned from the compiler as it stood. Any
// change that moves one byte of what the simulator loads, for any of them,
// shows here with the case's number (corpus_pin --case N DIR writes it out).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "corpus/pinned_outcomes.h"
#include "corpus/scenario_corpus.h"

namespace tracciato::corpus {
namespace {

std::string describe(int32_t code, int32_t position, int stop, uint64_t track, uint64_t item,
                     uint64_t cell, uint64_t digest) {
  return "code " + std::to_string(code) + " at " + std::to_string(position) + " m, stop " +
         std::to_string(stop) + ", sizes " + std::to_string(track) + "/" + std::to_string(item) +
         "/" + std::to_string(cell) + ", digest " + std::to_string(digest);
}

TEST(Corpus, EveryCaseCompilesToItsPinnedBytes) {
  int mismatches = 0;
  for (int i = 0; i < kCorpusSize; ++i) {
    const CaseOutcome o = compile_case(corpus_case(i));
    const PinnedOutcome& p = kPinned[i];
    const std::string now = describe(o.error_code, o.error_position, o.stop, o.track_size,
                                     o.item_size, o.cell_size, o.digest);
    const std::string pinned = describe(p.error_code, p.error_position, p.stop, p.track_size,
                                        p.item_size, p.cell_size, p.digest);
    if (now == pinned) continue;
    // A handful of cases tell what moved; thousands would bury it.
    if (++mismatches <= 10) ADD_FAILURE() << "case " << i << ": " << now << ", pinned " << pinned;
  }
  EXPECT_EQ(mismatches, 0) << "cases whose outcome moved";
}

}  // namespace
}  // namespace tracciato::corpus
