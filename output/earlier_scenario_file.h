// Telling an earlier scenario file from someone else's file of the same name.
//
// A run replaces the files of an earlier run under the scenario's names. A
// file of another kind under such a name (a copy the author keeps, a file of
// another program) is not the run's to replace: its shape gives it away, as
// every scenario file this program writes carries the reserved values of its
// kind where the simulator looks for them.
#pragma once

#include <filesystem>

namespace tracciato {

enum class ScenarioFile { kTrack, kItem, kCell };

// Throws TargetRefused when a regular file at `path` is not a `kind` file
// as runs write them: a cell file of 15-byte cells whose cell 1 carries
// 5121, an item file of 87 records whose line record carries 610, a track
// file of tagged entries. Nothing there, or a file of the right shape,
// passes. Throws IoError when the file cannot be read.
void refuse_foreign_scenario_file(const std::filesystem::path& path, ScenarioFile kind);

}  // namespace tracciato
