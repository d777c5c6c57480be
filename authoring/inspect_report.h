// The readable forms of a decoded scenario file: a table for people and JSON
// for programs. The JSON holds every field of every record shown, so a whole
// file printed as JSON can be turned back into the same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "authoring/scenario_decoding.h"

namespace tracciato {

// Records first..last inclusive: cell indices of a cell file, entries of an
// item file, metres of a track file.
struct RecordRange {
  int64_t first = 0;
  int64_t last = 0;
};

// "A..B" or "A" (whole numbers, A <= B); nullopt for anything else.
std::optional<RecordRange> parse_record_range(std::string_view text);

struct InspectOptions {
  std::optional<RecordRange> range;
  // Leave out records with nothing in them: for cells, those without an
  // object or an approach code (the stretch fields are set on nearly every
  // cell); for items, all-zero entries; for the track, rows never written.
  bool nonzero = false;
};

std::string inspect_table(const DecodedScenarioFile& file, const InspectOptions& options);
std::string inspect_json(const DecodedScenarioFile& file, const InspectOptions& options);

// The file as records, for reading one version against another (git's
// textconv): a cell file as the runs of cells of one gradient, speed limit,
// adhesion and span kind, then a line per object or approach code; an item
// file as its entries that hold anything; a track file as its curves, each
// as the curve record that makes it. A change to one record changes a line
// or two, not every line after it.
std::string inspect_records(const DecodedScenarioFile& file);

// The records of inspect_json's output, which must hold a whole file (every
// record, in order). Throws DecodeError naming what is missing or out of its
// field's range.
DecodedScenarioFile decoded_file_from_json(std::string_view json);

}  // namespace tracciato
