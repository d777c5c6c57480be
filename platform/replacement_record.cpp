#include "platform/replacement_record.h"

#include "platform/crc32.h"

namespace tracciato {
namespace {

constexpr std::string_view kMagic = "TRACJRNL";
constexpr uint32_t kVersion = 1;

void put(std::string& out, uint64_t v, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void put_name(std::string& out, std::string_view name) {
  put(out, name.size(), 2);
  out.append(name);
}

// A name the record may hold: one entry of its own folder, nothing more.
bool plain_file_name(std::string_view name) {
  if (name.empty() || name.size() > kLongestRecordedName || name == "." || name == "..") {
    return false;
  }
  return name.find_first_of(std::string_view("/\\\0:", 4)) == std::string_view::npos;
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  std::optional<uint64_t> number(size_t width) {
    if (bytes_.size() - at_ < width) return std::nullopt;
    uint64_t v = 0;
    for (size_t i = width; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(bytes_[at_ + i]);
    at_ += width;
    return v;
  }

  std::optional<std::string> name(bool may_be_empty) {
    const auto length = number(2);
    if (!length || bytes_.size() - at_ < *length) return std::nullopt;
    std::string text(bytes_.substr(at_, static_cast<size_t>(*length)));
    at_ += static_cast<size_t>(*length);
    if (text.empty() ? !may_be_empty : !plain_file_name(text)) return std::nullopt;
    return text;
  }

  size_t at() const { return at_; }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

}  // namespace

std::string encode_replacement_record(const ReplacementRecord& record) {
  std::string out(kMagic);
  put(out, kVersion, 4);
  put(out, record.files.size(), 4);
  for (const ReplacedFile& file : record.files) {
    put(out, file.size, 8);
    put(out, file.crc, 4);
    put(out, file.earlier.empty() ? 0 : 1, 1);
    put_name(out, file.target);
    put_name(out, file.temporary);
    put_name(out, file.earlier);
  }
  put(out, crc32(out), 4);
  return out;
}

std::optional<ReplacementRecord> decode_replacement_record(std::string_view bytes) {
  if (bytes.size() < kMagic.size() + 12 || bytes.size() > kLargestRecord ||
      !bytes.starts_with(kMagic)) {
    return std::nullopt;
  }
  const std::string_view body = bytes.substr(0, bytes.size() - 4);
  Reader check(bytes.substr(body.size()));
  if (check.number(4) != crc32(body)) return std::nullopt;

  Reader in(body.substr(kMagic.size()));
  const auto version = in.number(4);
  const auto count = in.number(4);
  if (version != kVersion || !count || *count == 0 || *count > kMostRecordedFiles) {
    return std::nullopt;
  }
  ReplacementRecord record;
  for (uint64_t i = 0; i < *count; ++i) {
    ReplacedFile file;
    const auto size = in.number(8);
    const auto crc = in.number(4);
    const auto had_earlier = in.number(1);
    auto target = in.name(false);
    auto temporary = in.name(false);
    auto earlier = in.name(true);
    if (!size || !crc || !had_earlier || *had_earlier > 1 || !target || !temporary || !earlier ||
        (*had_earlier == 1) == earlier->empty() || *target == *temporary || *target == *earlier ||
        *temporary == *earlier) {
      return std::nullopt;
    }
    file.size = *size;
    file.crc = static_cast<uint32_t>(*crc);
    file.target = std::move(*target);
    file.temporary = std::move(*temporary);
    file.earlier = std::move(*earlier);
    record.files.push_back(std::move(file));
  }
  if (in.at() != body.size() - kMagic.size()) return std::nullopt;
  return record;
}

}  // namespace tracciato
