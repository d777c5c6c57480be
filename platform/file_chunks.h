// Replacing a file whose bytes are produced in chunks, so that a large file
// (a long line's track file) never has to be held whole. The replacement is
// replace_file's: a temporary file beside the target, renamed over it once
// every chunk is written; on any failure the earlier file stays whole.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace tracciato {

// Takes the file's bytes in order, one chunk at a time.
using FileChunkSink = std::function<void(std::string_view)>;
// Produces the whole file by handing every chunk to the sink it is given.
using FileChunkProducer = std::function<void(const FileChunkSink&)>;

// Replaces the file at `path` by the chunks `produce` hands on. Throws IoError
// naming `path` and the system's reason; an exception from `produce` goes on
// after the temporary file is removed.
void replace_file_in_chunks(const std::filesystem::path& path, const FileChunkProducer& produce);

}  // namespace tracciato
