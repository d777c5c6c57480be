#include "package/payload.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include "output/byte_encoding.h"
#include "platform/crc32.h"
#include "platform/bounded_read.h"
#include "platform/file_replace.h"

namespace tracciato {
namespace {

// The names, then the five documents in the order they are written.
constexpr uint32_t kFieldCount = 2 + kDocumentCount;

uint64_t get_le(std::string_view bytes, size_t offset, size_t width) {
  uint64_t v = 0;
  for (size_t i = width; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return v;
}

struct Trailer {
  uint64_t payload_length = 0;
  uint64_t file_length = 0;
  uint32_t checksum = 0;
};

// Where the checksum sits: it covers every byte of the file before it.
constexpr size_t kChecksumOffset = 16;

// The trailer at the end of `tail` (the last kTrailerSize bytes of the file),
// checked against the file's length before any other byte is read.
std::variant<Trailer, PackageDamage> read_trailer(std::string_view tail, uint64_t file_size) {
  if (tail.size() < kTrailerSize ||
      tail.substr(tail.size() - kPayloadMagic.size()) != kPayloadMagic) {
    return PackageDamage{
        "it does not end with a package trailer: it was cut short, or it is not a "
        "package"};
  }
  const size_t at = tail.size() - kTrailerSize;
  const auto version = static_cast<uint32_t>(get_le(tail, at + 20, 4));
  if (version != kPayloadVersion) {
    return PackageDamage{"its payload has format version " + std::to_string(version) +
                         ", which this program does not know"};
  }
  Trailer t{get_le(tail, at, 8), get_le(tail, at + 8, 8),
            static_cast<uint32_t>(get_le(tail, at + kChecksumOffset, 4))};
  if (t.file_length != file_size) {
    return PackageDamage{"it is " + std::to_string(file_size) + " bytes long, not the " +
                         std::to_string(t.file_length) +
                         " it was made with: the download was cut short or bytes were added"};
  }
  if (t.payload_length > file_size - kTrailerSize) {
    return PackageDamage{"it is shorter than its payload: the download was cut short"};
  }
  return t;
}

const PackageDamage kChangedBytes{"its checksum does not match: some bytes were changed"};

// The fields of a payload whose checksum matched.
std::variant<InstallScenario, PackageDamage> decode_fields(std::string_view payload) {
  const PackageDamage malformed{"its payload does not hold a scenario"};
  size_t pos = 0;
  auto take = [&](size_t width) -> std::optional<uint64_t> {
    if (payload.size() - pos < width) return std::nullopt;
    const uint64_t v = get_le(payload, pos, width);
    pos += width;
    return v;
  };
  const auto count = take(4);
  if (!count || *count != kFieldCount) return malformed;
  std::string fields[kFieldCount];
  for (std::string& field : fields) {
    const auto length = take(4);
    if (!length || *length > payload.size() - pos) return malformed;
    field.assign(payload.substr(pos, *length));
    pos += *length;
  }
  if (pos != payload.size()) return malformed;
  InstallScenario scenario;
  scenario.line_name = std::move(fields[0]);
  scenario.train_number = std::move(fields[1]);
  // The names become file names: a payload must not reach outside the folder.
  if (!portable_name_problem(scenario.line_name).empty() ||
      !portable_name_problem(scenario.train_number).empty() ||
      !installed_names_problem(scenario.line_name, scenario.train_number).empty()) {
    return PackageDamage{"its scenario names are not usable as file names"};
  }
  for (size_t i = 0; i < kDocumentCount; ++i) scenario.documents[i] = std::move(fields[2 + i]);
  return scenario;
}

std::variant<PackageContents, PackageDamage> contents_of(std::string_view payload,
                                                         uint64_t stub_size,
                                                         std::string stub_start) {
  auto fields = decode_fields(payload);
  if (auto* damage = std::get_if<PackageDamage>(&fields)) return *damage;
  return PackageContents{std::get<InstallScenario>(std::move(fields)), stub_size,
                         std::move(stub_start)};
}

void append_field(std::string& out, std::string_view field) {
  char length[4];
  put_u32le(length, static_cast<uint32_t>(field.size()));
  out.append(length, 4);
  out.append(field);
}

// Reads exactly `n` bytes at `offset`; throws IoError.
std::string read_at(std::FILE* f, const std::filesystem::path& path, uint64_t offset, size_t n) {
  std::string bytes(n, '\0');
  errno = 0;
  if (std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0 ||
      std::fread(bytes.data(), 1, n, f) != n) {
    throw IoError(path, std::generic_category().message(errno ? errno : EIO), errno);
  }
  return bytes;
}

}  // namespace

std::string encode_payload(std::string_view stub, const InstallScenario& scenario) {
  std::string payload;
  char count[4];
  put_u32le(count, kFieldCount);
  payload.append(count, 4);
  append_field(payload, scenario.line_name);
  append_field(payload, scenario.train_number);
  for (const std::string& document : scenario.documents) append_field(payload, document);

  char trailer[kTrailerSize];
  char* p = put_u64le(trailer, payload.size());
  p = put_u64le(p, stub.size() + payload.size() + kTrailerSize);
  const std::string_view lengths(trailer, kChecksumOffset);
  p = put_u32le(p, crc32(lengths, crc32(payload, crc32(stub))));
  p = put_u32le(p, kPayloadVersion);
  for (const char c : kPayloadMagic) p = put_u8(p, static_cast<uint8_t>(c));
  payload.append(trailer, kTrailerSize);
  return payload;
}

std::variant<PackageContents, PackageDamage> decode_package(std::string_view file) {
  const std::string_view tail = file.substr(file.size() - std::min(file.size(), kTrailerSize));
  auto trailer = read_trailer(tail, file.size());
  if (auto* damage = std::get_if<PackageDamage>(&trailer)) return *damage;
  const Trailer t = std::get<Trailer>(trailer);
  if (crc32(file.substr(0, file.size() - kTrailerSize + kChecksumOffset)) != t.checksum) {
    return kChangedBytes;
  }
  const uint64_t stub_size = file.size() - kTrailerSize - t.payload_length;
  return contents_of(file.substr(stub_size, t.payload_length), stub_size,
                     std::string(file.substr(0, std::min<uint64_t>(stub_size, 4))));
}

std::variant<PackageContents, PackageDamage> read_package(const std::filesystem::path& path) {
  std::FILE* f = open_regular_file(path, "a package");
  struct Closer {
    std::FILE* f;
    ~Closer() { std::fclose(f); }
  } closer{f};
  const uint64_t size = open_file_size(f, path);
  if (size > kLargestPackage) {
    return PackageDamage{"it is " + std::to_string(size) + " bytes long, larger than any package"};
  }

  const size_t tail_size = static_cast<size_t>(std::min<uint64_t>(size, kTrailerSize));
  auto trailer = read_trailer(read_at(f, path, size - tail_size, tail_size), size);
  if (auto* damage = std::get_if<PackageDamage>(&trailer)) return *damage;
  const Trailer t = std::get<Trailer>(trailer);
  const uint64_t stub_size = size - kTrailerSize - t.payload_length;
  const uint64_t checked_size = size - kTrailerSize + kChecksumOffset;

  // Every byte once, in pieces: the checksum takes them all, the payload is
  // all that is kept.
  if (std::fseek(f, 0, SEEK_SET) != 0) throw IoError(path, reason_of(errno), errno);
  std::string payload;
  payload.reserve(static_cast<size_t>(t.payload_length));
  std::string stub_start;
  std::string piece(size_t{1} << 16, '\0');
  uint32_t crc = 0;
  for (uint64_t at = 0; at < checked_size;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(piece.size(), checked_size - at));
    errno = 0;
    if (std::fread(piece.data(), 1, n, f) != n) {
      throw IoError(path, reason_of(errno ? errno : EIO), errno ? errno : EIO);
    }
    const std::string_view read(piece.data(), n);
    crc = crc32(read, crc);
    if (at < 4)
      stub_start.append(read.substr(0, static_cast<size_t>(std::min<uint64_t>(n, 4 - at))));
    const uint64_t from = std::max(at, stub_size);
    const uint64_t to = std::min(at + n, stub_size + t.payload_length);
    if (from < to)
      payload.append(read.substr(static_cast<size_t>(from - at), static_cast<size_t>(to - from)));
    at += n;
  }
  if (crc != t.checksum) return kChangedBytes;
  stub_start.resize(static_cast<size_t>(std::min<uint64_t>(stub_size, stub_start.size())));
  return contents_of(payload, stub_size, std::move(stub_start));
}

std::string_view stub_platform(std::string_view stub_start) {
  if (stub_start.starts_with("\x7F"
                             "ELF"))
    return "Linux";
  if (stub_start.starts_with("MZ")) return "Windows";
  return "unknown";
}

}  // namespace tracciato
