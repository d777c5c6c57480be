#include "package/package_writer.h"

#include <system_error>

#include "package/payload.h"
#include "platform/bounded_read.h"
#include "platform/file_replace.h"
#include "platform/staged_files.h"

namespace tracciato {
namespace {

// A file of the package's name that does not end as every package does is
// not an earlier package, and not this run's to replace.
void refuse_what_is_not_a_package(const std::filesystem::path& output) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(output, ec))) return;
  std::FILE* f = open_regular_file(output, "a package");
  const uint64_t size = open_file_size(f, output);
  std::string tail(kPayloadMagic.size(), '\0');
  const bool ends_as_a_package =
      size >= tail.size() && std::fseek(f, static_cast<long>(size - tail.size()), SEEK_SET) == 0 &&
      std::fread(tail.data(), 1, tail.size(), f) == tail.size() && tail == kPayloadMagic;
  std::fclose(f);
  if (!ends_as_a_package) {
    throw TargetRefused(output,
                        "this is not a package this program wrote; nothing was replaced: move it "
                        "away or give another --out, then run again");
  }
}

uint64_t le(std::string_view bytes, size_t at, size_t width) {
  uint64_t v = 0;
  for (size_t i = width; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

// The platform and machine a program's header names, "" when it names none.
std::string program_kind(std::string_view program) {
  constexpr uint64_t kElfX86_64 = 0x3E;
  constexpr uint64_t kPeX86_64 = 0x8664;
  if (program.size() >= 20 && program.starts_with("\x7F"
                                                  "ELF")) {
    return program[4] == 2 && le(program, 18, 2) == kElfX86_64 ? "Linux" : "Linux, not x86-64";
  }
  if (program.size() >= 64 && program.starts_with("MZ")) {
    const uint64_t pe = le(program, 60, 4);
    if (pe + 6 <= program.size() &&
        program.substr(static_cast<size_t>(pe), 4) == std::string_view("PE\0\0", 4)) {
      return le(program, static_cast<size_t>(pe) + 4, 2) == kPeX86_64 ? "Windows"
                                                                      : "Windows, not x86-64";
    }
  }
  return "";
}

}  // namespace

std::optional<std::string> stub_problem(std::string_view stub, std::string_view platform) {
  const std::string kind = program_kind(stub);
  if (kind.empty()) return "this is no program, so no install stub";
  if (stub.ends_with(kPayloadMagic)) {
    return "this is a package already, not the install stub packages are made from";
  }
  if (kind != platform) {
    return "this is a " + kind + " program, not the " + std::string(platform) + " install stub";
  }
  return std::nullopt;
}

void write_package(const std::filesystem::path& stub, const InstallScenario& scenario,
                   const std::filesystem::path& output) {
  write_package_of_stub(read_bounded_file(stub, kLargestPackage, "an install stub"), scenario,
                        output);
}

void write_package_of_stub(std::string_view program, const InstallScenario& scenario,
                           const std::filesystem::path& output) {
  refuse_what_is_not_a_package(output);
  StagedReplacement replacement(output.parent_path());
  StagedFile& file = replacement.stage(output);
  file.append(program);
  file.append(encode_payload(program, scenario));
  std::error_code ec;
  // Owner, group and others may run it, as any downloaded program.
  std::filesystem::permissions(
      file.temporary(),
      std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
          std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
          std::filesystem::perms::others_exec,
      ec);
  if (ec) throw IoError(output, ec.message(), ec.value());
  replacement.commit();
}

}  // namespace tracciato
