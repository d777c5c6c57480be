// Making files and the folder entries naming them reach the disk.
#pragma once

#include <cstdio>
#include <filesystem>

namespace tracciato {

// Pushes a file's bytes from the stream and the system's cache to the disk.
// false, with errno set, on failure.
bool flush_to_disk(std::FILE* f);

// Makes the folder's entries (files created, renamed, removed) reach the
// disk, so that after a power cut the folder shows them. Returns the system
// error, 0 when none; a file system that cannot flush a folder is not one.
int flush_folder(const std::filesystem::path& folder);

}  // namespace tracciato
