#include "lsp/document_uri.h"

#include <cctype>

#include "platform/utf8_path.h"

namespace tracciato::lsp {
namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool unreserved(unsigned char c) {
  // ':' stands in a path as it is (a Windows drive, "C:").
  return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~' || c == '/' ||
         c == ':';
}

}  // namespace

std::optional<std::filesystem::path> path_of_uri(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.substr(0, kScheme.size()) != kScheme) return std::nullopt;
  std::string_view rest = uri.substr(kScheme.size());
  // A host before the path ("file://localhost/…") names this machine.
  const size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  rest.remove_prefix(slash);
  std::string decoded;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != '%') {
      decoded.push_back(rest[i]);
      continue;
    }
    if (i + 2 >= rest.size()) return std::nullopt;
    const int hi = hex_value(rest[i + 1]);
    const int lo = hex_value(rest[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    decoded.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  // "/C:/…" is a Windows drive.
  if (decoded.size() >= 3 && decoded[0] == '/' &&
      std::isalpha(static_cast<unsigned char>(decoded[1])) && decoded[2] == ':') {
    decoded.erase(0, 1);
  }
  return path_from_utf8(decoded);
}

std::string uri_of_path(const std::filesystem::path& path) {
  std::string text = utf8_of(path);
  for (char& c : text) {
    if (c == '\\') c = '/';
  }
  std::string uri = "file://";
  if (!text.empty() && text[0] != '/') uri += '/';  // a Windows drive
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (unreserved(byte)) {
      uri.push_back(c);
    } else {
      uri.push_back('%');
      uri.push_back(kHex[byte >> 4]);
      uri.push_back(kHex[byte & 15]);
    }
  }
  return uri;
}

}  // namespace tracciato::lsp
