#include "platform/replacement_recovery.h"

#include <cerrno>
#include <system_error>

#include "platform/bounded_read.h"
#include "platform/crc32.h"
#include "platform/disk_flush.h"
#include "platform/file_replace.h"
#include "platform/replacement_record.h"
#include "platform/utf8_path.h"

namespace tracciato {
namespace {

namespace fs = std::filesystem;

bool has_entry(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

// Whether the file at `path` holds exactly the bytes the record describes.
bool holds(const fs::path& path, const ReplacedFile& file) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(path, ec))) return false;
  try {
    std::FILE* f = open_regular_file(path, "a scenario file");
    struct Closer {
      std::FILE* f;
      ~Closer() { std::fclose(f); }
    } closer{f};
    if (open_file_size(f, path) != file.size) return false;
    std::string piece(size_t{1} << 16, '\0');
    uint32_t crc = 0;
    size_t n;
    while ((n = std::fread(piece.data(), 1, piece.size(), f)) > 0) {
      crc = crc32(std::string_view(piece.data(), n), crc);
    }
    return std::ferror(f) == 0 && crc == file.crc;
  } catch (const IoError&) {
    return false;
  }
}

void move_to(const fs::path& from, const fs::path& to, FileStep step, const FileFaults& faults) {
  int error = injected(faults, step, to);
  std::error_code ec;
  if (error == 0) {
    fs::rename(from, to, ec);
    error = ec.value();
  }
  if (error != 0) throw IoError(to, reason_of(error), error);
}

void remove_if_there(const fs::path& path, FileStep step, const FileFaults& faults) {
  int error = injected(faults, step, path);
  std::error_code ec;
  if (error == 0) {
    fs::remove(path, ec);
    error = ec.value();
  }
  if (error != 0) throw IoError(path, reason_of(error), error);
}

void flush(const fs::path& folder, const FileFaults& faults) {
  int error = injected(faults, FileStep::kFlushFolder, folder);
  if (error == 0) error = flush_folder(folder);
  if (error != 0) throw IoError(folder, reason_of(error), error);
}

struct FileState {
  const ReplacedFile& file;
  fs::path target, temporary, earlier;
  bool new_in_place = false;  // the new bytes are under the target's name
  bool new_staged = false;    // the new bytes are whole in the temporary file
};

std::string files_in(size_t count, const fs::path& folder) {
  return std::to_string(count) + (count == 1 ? " file" : " files") + " in " +
         utf8_of(folder.empty() ? fs::path(".") : folder);
}

void roll_forward(std::vector<FileState>& states, const fs::path& folder,
                  const FileFaults& faults) {
  for (FileState& s : states) {
    if (s.new_in_place) continue;
    if (has_entry(s.target) && !s.earlier.empty() && !has_entry(s.earlier)) {
      move_to(s.target, s.earlier, FileStep::kSetAside, faults);
    }
    move_to(s.temporary, s.target, FileStep::kRename, faults);
  }
  flush(folder, faults);
  for (FileState& s : states) {
    if (!s.earlier.empty() && has_entry(s.earlier)) {
      remove_if_there(s.earlier, FileStep::kDropEarlier, faults);
    }
    if (has_entry(s.temporary)) remove_if_there(s.temporary, FileStep::kDropEarlier, faults);
  }
}

void roll_back(std::vector<FileState>& states, const fs::path& folder, const FileFaults& faults) {
  // Newest first, as a failed commit puts its files back.
  for (auto it = states.rbegin(); it != states.rend(); ++it) {
    FileState& s = *it;
    if (!s.earlier.empty() && has_entry(s.earlier)) {
      move_to(s.earlier, s.target, FileStep::kRename, faults);
    } else if (s.file.earlier.empty() && s.new_in_place) {
      // There was no earlier file: the name goes back to holding nothing.
      remove_if_there(s.target, FileStep::kDropEarlier, faults);
    }
    if (has_entry(s.temporary)) remove_if_there(s.temporary, FileStep::kDropEarlier, faults);
  }
  flush(folder, faults);
}

}  // namespace

std::optional<std::string> finish_interrupted_replacement(const fs::path& folder,
                                                          const FileFaults& faults) {
  const fs::path record_path = folder / path_from_utf8(std::string(kReplacementRecordName));
  if (!has_entry(record_path)) return std::nullopt;
  std::optional<ReplacementRecord> record;
  try {
    record = decode_replacement_record(
        read_bounded_file(record_path, kLargestRecord, "a replacement record"));
  } catch (const IoError&) {
    // Not a file of ours, or larger than any: nothing in it can be trusted.
  }
  if (!record) {
    // Cut short while it was written: no rename had begun.
    remove_if_there(record_path, FileStep::kDropRecord, faults);
    return "removed the unfinished replacement record of an interrupted run in " +
           utf8_of(folder.empty() ? fs::path(".") : folder) + "; it had replaced no file";
  }

  std::vector<FileState> states;
  std::string broken;  // a file whose new bytes are whole nowhere
  for (const ReplacedFile& file : record->files) {
    FileState s{file, folder / path_from_utf8(file.target), folder / path_from_utf8(file.temporary),
                file.earlier.empty() ? fs::path() : folder / path_from_utf8(file.earlier)};
    s.new_in_place = holds(s.target, file);
    s.new_staged = !s.new_in_place && holds(s.temporary, file);
    if (!s.new_in_place && !s.new_staged && broken.empty()) broken = file.target;
    states.push_back(std::move(s));
  }

  const std::string where = files_in(states.size(), folder);
  std::string said;
  if (broken.empty()) {
    roll_forward(states, folder, faults);
    said = "an interrupted run had begun replacing " + where +
           "; every new file was whole, so the replacement was finished";
  } else {
    roll_back(states, folder, faults);
    said = "an interrupted run had begun replacing " + where + "; the new " + broken +
           " was not whole, so the earlier files were put back";
  }
  remove_if_there(record_path, FileStep::kDropRecord, faults);
  return said;
}

}  // namespace tracciato
