// Replacing a file as a whole, safely.
//
// A scenario file cut short by a failure would still be loaded by the
// simulator, so a file is never rewritten in place: the new bytes go to a
// temporary file in the same folder, which is then renamed over the name. On
// failure the earlier file stays whole and the temporary file is removed.
// The temporary file is created exclusively ("NAME.tmp", else "NAME.tmp1",
// ...), so no file already in the folder is ever overwritten by it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tracciato {

// An input/output failure, carrying the path and the system's reason; it ends
// the run and is shown by main.
class IoError : public std::runtime_error {
 public:
  IoError(const std::filesystem::path& path, const std::string& reason, int error = 0);
  const std::filesystem::path& path() const { return path_; }
  // The system's error number (errno), 0 when the failure has none.
  int error() const { return error_; }

 private:
  std::filesystem::path path_;
  int error_ = 0;
};

// Writes `bytes` to an open stream; returns false (with errno set) on failure.
// The default writes them with fwrite; tests substitute one that fails. A sink
// may also throw: the temporary file is removed and the exception goes on.
using ByteSink = std::function<bool(std::FILE*, std::string_view)>;

// Replaces the file at `path` by `bytes`. Throws IoError naming `path` and the
// system's reason.
void replace_file(const std::filesystem::path& path, std::string_view bytes);
void replace_file(const std::filesystem::path& path, std::string_view bytes, const ByteSink& sink);

// fopen for a path of any characters.
std::FILE* open_file(const std::filesystem::path& path, const char* mode);

// Creates `path` for writing; fails (nullptr, errno EEXIST) when anything
// already has the name. Not fopen's "x" mode, which older Windows runtimes do
// not know.
std::FILE* create_new_file(const std::filesystem::path& path);

// A temporary file beside `target`, named "NAME.tmp", else "NAME.tmp1", ...:
// created exclusively, so that a file already there (someone else's, or one
// left by a run that was killed) is never overwritten; the next free name is
// taken instead. Throws IoError naming `target`.
struct TemporaryFile {
  std::filesystem::path path;
  std::FILE* file = nullptr;
};
TemporaryFile create_temporary_beside(const std::filesystem::path& target);

// The system's words for `error`; a layer that failed without saying why is
// reported as an input/output error, never as "Success".
std::string reason_of(int error);

// Reads a whole file. Throws IoError.
std::string read_file(const std::filesystem::path& path);

}  // namespace tracciato
