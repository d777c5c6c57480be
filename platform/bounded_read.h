// Reading a file that a person named, when its format bounds its size.
//
// A name given on a command line may be a folder, a pipe, a device that never
// ends (/dev/zero) or a file far larger than any the format can hold. Each is
// refused before a byte is read, so nothing blocks on a pipe and no memory is
// spent out of proportion to what the format allows.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace tracciato {

// Opens `path` for reading when it is a regular file. The kind is taken from
// the file once it is open, never from the name beforehand, and opening
// never waits: a pipe swapped in under the name cannot block. Throws
// IoError, naming the path and what it is instead ("a pipe"), saying to give
// the path of `what` ("a scenario file").
std::FILE* open_regular_file(const std::filesystem::path& path, const std::string& what);

// The size of a file opened by open_regular_file. Throws IoError.
uint64_t open_file_size(std::FILE* file, const std::filesystem::path& path);

// Reads the whole regular file at `path`. Throws IoError, naming the path,
// when it is not a regular file (saying what it is), when it is larger than
// `max_bytes`, or when it cannot be read. `what` names the kind of file
// expected, for the message ("a scenario file").
std::string read_bounded_file(const std::filesystem::path& path, uint64_t max_bytes,
                              const std::string& what);

}  // namespace tracciato
