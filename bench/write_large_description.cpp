// Writes a scenario whose line description is large (50 MB by default), for
// the whole-process benchmark of `tracciato lint` against `tracciato compile`
// of the same text: lint's work per line must keep it within a small factor
// of the compile.
//
// Two kinds of text, both made only of what authors write:
//   records       valid background records, a key tested against every row
//                 and a value read per line: lint finds nothing to say;
//   unknown-keys  lines whose key has a typo, each a warning with its line,
//                 its caret and the nearest key.
//
// Usage: write_large_description FOLDER records|unknown-keys [BYTES]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/file_replace.h"

namespace {

constexpr std::string_view kHead = "[generale]\r\nlunghezza percorso,    1000000\r\n";
constexpr std::string_view kRecord = "sfondo uno,    1\r\n";
constexpr std::string_view kSectionEnd = "[fine]\r\n";
constexpr std::string_view kUnknownKey = "pendenze sbagliata,   100,   -3\r\n";
constexpr std::string_view kTrain = "[generale]\r\nvelocita,   0,   100\r\n\r\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace tracciato;
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: write_large_description FOLDER records|unknown-keys [BYTES]\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::string_view kind = argv[2];
  const size_t bytes = argc == 4 ? std::strtoull(argv[3], nullptr, 10) : 50'000'000;
  if (kind != "records" && kind != "unknown-keys") {
    std::fprintf(stderr, "write_large_description: unknown kind '%s'\n", argv[2]);
    return 2;
  }
  // Backgrounds belong to the general section, typos to the feature part.
  const bool records = kind == "records";
  std::string line(kHead);
  if (!records) line += kSectionEnd;
  const std::string_view repeated = records ? kRecord : kUnknownKey;
  line.reserve(bytes + repeated.size() + kSectionEnd.size() + 2);
  while (line.size() < bytes) line += repeated;
  if (records) line += kSectionEnd;
  line += "\r\n";
  std::filesystem::create_directories(folder);
  replace_file(folder / "Grande_linea.txt", line);
  replace_file(folder / "Grande_1-.txt", kTrain);
  return 0;
}
