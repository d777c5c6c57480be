// Where the author's tool takes a compiled scenario from: a folder holding
// its binary files, the files named one by one, or a pair of descriptions to
// compile in memory. decompile and diff read scenarios alike.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/decompile.h"

namespace tracciato {

// The arguments name no scenario the tool can read: a folder with no item
// file or with several, a missing cell file. Carries the exit status.
class ScenarioSourceError : public std::runtime_error {
 public:
  ScenarioSourceError(const std::string& what, int status)
      : std::runtime_error(what), status(status) {}
  int status;
};

struct ScenarioSource {
  ScenarioFiles files;
  // The files as named, for messages (UTF-8); the track file empty when the
  // scenario has none.
  std::string cell_file;
  std::string item_file;
  std::string track_file;
};

// The binary files of one scenario: `paths` is a folder (its one item file
// names the scenario; the cell file shares its name, the track file is the
// line's), or the cell file, the item file and, when there is one, the track
// file. Each file is read bounded by the largest its format allows. Throws
// IoError when a file cannot be read, DecodeError (naming the file) when one
// does not fit its format, ScenarioSourceError when the paths name no
// scenario.
ScenarioSource read_scenario_files(const std::vector<std::string>& paths);

// Any scenario: what read_scenario_files reads, or a line and a train
// description (two .txt files, or a folder holding one <line>_linea.txt and
// one <line>_<train>-.txt), compiled in memory as the install package
// compiles them, whatever problem the compile records. `encoding` is the
// descriptions' (see tools/description_encoding.h). Throws as
// read_scenario_files does.
ScenarioSource read_scenario(const std::vector<std::string>& paths, const std::string& encoding);

// Runs `command` and returns its status; a scenario that cannot be read is
// told on standard error as "tracciato NAME: ..." with its status:
// ScenarioSourceError's own, 3 for a file that does not fit its format, 4
// for a file that cannot be read or written.
int with_scenario_errors(std::string_view name, const std::function<int()>& command);

// The name a message gives the file of `kind` of a source.
const std::string& source_file(const ScenarioSource& source, ScenarioFileKind kind);

}  // namespace tracciato
