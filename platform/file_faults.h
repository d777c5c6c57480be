// The points at which replacing files can fail, for tests to make them fail.
#pragma once

#include <filesystem>
#include <functional>

namespace tracciato {

// The points of the file layer at which a staged replacement can fail, in
// the order a run meets them. kSetAside is the rename that keeps an earlier
// file aside while its replacement is renamed over its name; kRecord writes
// the replacement record before the first rename; kDropEarlier and
// kDropRecord remove the earlier files and the record once the set is in
// place.
enum class FileStep {
  kLock,
  kCreate,
  kWrite,
  kFlush,
  kClose,
  kRecord,
  kSetAside,
  kRename,
  kFlushFolder,
  kDropEarlier,
  kDropRecord,
};

// Asked before each step with the file it concerns; a non-zero result is the
// system error the step then fails with, as if the system had reported it.
// Tests inject a full disk with it, or end the process there; the default
// fails nothing.
using FileFaults = std::function<int(FileStep step, const std::filesystem::path& path)>;

inline int injected(const FileFaults& faults, FileStep step, const std::filesystem::path& path) {
  return faults ? faults(step, path) : 0;
}

}  // namespace tracciato
