// A seeded corpus of scenarios for pinning what the compiler and the encoders
// write: each case is a line description, a train description, the two names
// and the track flag, made from a case number alone, so the same number gives
// the same case on every platform and with every compiler.
//
// Cases come in three flavours: well-formed scenarios whose records mostly
// land (so they reach the completion pass, the sealing and all three files),
// the embedded descriptions with a few bytes changed, and noise made of the
// known keys with random values (so every error path is walked).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tracciato::corpus {

inline constexpr int kCorpusSize = 3000;

struct CorpusCase {
  std::string line_name;
  std::string train_number;
  std::string line_text;
  std::string train_text;
  int32_t track_flag = 1;
  bool line_exists = true;  // false: as if the line description were missing
  bool train_exists = true;
};

CorpusCase corpus_case(int index);

// What compiling a case gives, reduced to one line of text: the error code,
// the error position, how the run stopped, and the size and FNV-1a 64 digest
// of each binary file written. Equal summaries mean equal bytes.
struct CaseOutcome {
  int32_t error_code = 0;
  int32_t error_position = 0;
  int stop = 0;             // CompileStop, as a number
  uint64_t digest = 0;      // over every file's bytes, in the order written
  uint64_t track_size = 0;  // 0 when no track file is written
  uint64_t item_size = 0;
  uint64_t cell_size = 0;
};

// The bytes of the files a case writes.
struct CaseFiles {
  std::optional<std::string> track;  // none when the case has no track
  std::string item;
  std::string cell;
};

// Compiles the case; `files`, when given, receives the files' bytes (left
// as it is when the compile stops before writing).
CaseOutcome compile_case(const CorpusCase& c, CaseFiles* files = nullptr);

}  // namespace tracciato::corpus
