// file: URIs, as editors name documents, and the paths they stand for.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tracciato::lsp {

// The path of a "file:" URI, percent-escapes decoded ("file:///C:/a%20b" is
// "C:/a b" on Windows); nullopt for any other scheme or a malformed escape.
std::optional<std::filesystem::path> path_of_uri(std::string_view uri);

// The URI of an absolute path, every byte outside the unreserved set and
// '/' percent-escaped.
std::string uri_of_path(const std::filesystem::path& path);

}  // namespace tracciato::lsp
