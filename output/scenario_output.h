// Sealing the compiled scenario and writing its three binary files: the track
// file (the polyline), the item file (the item table) and the cell file (the
// route cells). Byte layouts: docs/file_formats.md.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/scenario_model.h"
#include "platform/staged_files.h"

namespace tracciato {

// The plain competition code: the sum of the first 25 character values of the
// key text (train number, line name, lower-cased, then the filler).
int16_t codice_gara_og(const ScenarioModel& model);
// The weighted code: each of those 25 values times its position.
int32_t codice_gara_st(const ScenarioModel& model);

enum class SealResult { kSealed, kSlot1250InUse, kSlot1251InUse };

// Checks the reserved slots and fills them: 610 and 5121, then the weighted
// and the plain competition code. On a slot already in use the model is left
// as the check found it (the 610 / 5121 pair may already be written).
// REQUIRES: model.has_route(); throws std::logic_error when there is no cell 1.
SealResult seal_scenario(ScenarioModel& model);

// Takes a file's bytes in order, one chunk at a time; a chunk is valid only
// during the call.
using ChunkSink = std::function<void(std::string_view)>;

// The track file, handed to `sink` in chunks of about a megabyte: a long
// line's file is never held whole.
void encode_track_file(const ScenarioModel& model, const ChunkSink& sink);

// The bytes of each file, built in memory. encode_item_file throws
// std::length_error for a name longer than 65535 characters, which the
// record's 16-bit length cannot carry.
std::string encode_track_file(const ScenarioModel& model);
std::string encode_item_file(const ScenarioModel& model);
std::string encode_cell_file(const ScenarioModel& model);

// Stages the track file (only when track_flag is set), the item file and the
// cell file of `folder` in `replacement`, to be renamed over their names when
// it is committed. Returns the names staged, in order. Throws TargetRefused,
// before staging any, when a name holds a file that is not an earlier file
// of its kind (output/earlier_scenario_file.h); IoError (and
// std::length_error, above).
std::vector<std::string> stage_scenario_files(StagedReplacement& replacement,
                                              const std::filesystem::path& folder,
                                              const ScenarioModel& model);

struct WrittenScenario {
  std::vector<std::string> written;      // file names, in the order written
  std::optional<std::string> recovered;  // what an interrupted run had left, and was done
};

// Finishes what an interrupted run left in `folder`, then stages the three
// files and commits them: they replace the earlier files all together or not
// at all.
WrittenScenario write_scenario_files(const std::filesystem::path& folder,
                                     const ScenarioModel& model, const FileFaults& faults = {});

}  // namespace tracciato
