// Reading scenario files back, over the whole characterization corpus: for
// every case that writes files, the descriptions read back from them compile
// to the case's pinned digests, and reading back the files they compile to
// gives the same descriptions again. The corpus's cases include compiles
// that stopped early (the install package writes the files whatever the
// reading recorded), so the descriptions that stop there are covered too.
#include <gtest/gtest.h>

#include <string>

#include "authoring/decompile.h"
#include "corpus/pinned_outcomes.h"
#include "corpus/scenario_corpus.h"
#include "driver/compile_driver.h"

namespace tracciato::corpus {
namespace {

DecompileResult read_back(CaseFiles files) {
  return decompile_scenario(
      decode_scenario_files(std::move(files.cell), std::move(files.item), std::move(files.track)));
}

// What is wrong with case i's round trip, or "" when nothing is.
std::string round_trip_fault(int i) {
  const CorpusCase original = corpus_case(i);
  CaseFiles files;
  compile_case(original, &files);
  const DecompileResult first = read_back(files);
  if (!first.proven) {
    return "not read back: " + (first.refusals.empty() ? std::string("no refusal")
                                                       : refusal_place(first.refusals.front()) +
                                                             " " + first.refusals.front().field +
                                                             ": " + first.refusals.front().why);
  }
  CorpusCase again = original;
  again.line_text = first.line_text;
  again.train_text = first.train_text;
  CaseFiles recompiled;
  const CaseOutcome o = compile_case(again, &recompiled);
  const PinnedOutcome& p = kPinned[i];
  if (o.stop != p.stop || o.digest != p.digest || o.track_size != p.track_size ||
      o.item_size != p.item_size || o.cell_size != p.cell_size) {
    return "the descriptions read back compile to other bytes than the pinned ones";
  }
  const DecompileResult second = read_back(std::move(recompiled));
  if (second.line_text != first.line_text || second.train_text != first.train_text) {
    return "reading back the recompiled files gives other descriptions";
  }
  return "";
}

TEST(DecompileCorpus, EveryWrittenCaseReadsBackToItsPinnedBytesAndToTheSameText) {
  int faults = 0;
  int written = 0;
  for (int i = 0; i < kCorpusSize; ++i) {
    if (kPinned[i].stop != static_cast<int>(CompileStop::kNone)) continue;
    ++written;
    const std::string fault = round_trip_fault(i);
    if (fault.empty()) continue;
    if (++faults <= 10) ADD_FAILURE() << "case " << i << ": " << fault;
  }
  EXPECT_EQ(faults, 0) << "of " << written << " cases that write files";
}

}  // namespace
}  // namespace tracciato::corpus
