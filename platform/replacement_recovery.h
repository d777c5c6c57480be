// Finishing, or undoing, a replacement that a killed run left half done.
//
// A run writes its replacement record once every new file is complete on the
// disk, before the first rename (platform/replacement_record.h). Killed among
// the renames, it leaves a folder holding some new files, some earlier ones
// and the record. The next run to write there reads the record first: when
// every new file is whole, under its name or still in its temporary file, it
// finishes the renames; otherwise it puts every earlier file back. Either
// way the folder holds one whole set again and the record goes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/file_faults.h"

namespace tracciato {

// Finishes or undoes the replacement recorded in `folder`, if any. Returns a
// sentence for the person running the program saying what was done, nullopt
// when there was no record. Throws IoError when a file cannot be renamed or
// removed: the record then stays, for the next run to try again.
// REQUIRES: the folder's lock is held (platform/folder_lock.h).
std::optional<std::string> finish_interrupted_replacement(const std::filesystem::path& folder,
                                                          const FileFaults& faults = {});

}  // namespace tracciato
