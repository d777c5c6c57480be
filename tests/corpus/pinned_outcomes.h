// The outcome of every corpus case as pinned from the compiler as it stood:
// the error code, error position and stop, and the sizes and digest of the
// files it writes (corpus_outcomes.inc, written by corpus_pin).
#pragma once

#include <cstdint>
#include <iterator>

#include "corpus/scenario_corpus.h"

namespace tracciato::corpus {

struct PinnedOutcome {
  int32_t error_code;
  int32_t error_position;
  int stop;
  uint64_t track_size;
  uint64_t item_size;
  uint64_t cell_size;
  uint64_t digest;
};

inline constexpr PinnedOutcome kPinned[] = {
#include "corpus/corpus_outcomes.inc"
};
static_assert(std::size(kPinned) == kCorpusSize);

}  // namespace tracciato::corpus
