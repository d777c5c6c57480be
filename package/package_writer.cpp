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

}  // namespace

void write_package(const std::filesystem::path& stub, const InstallScenario& scenario,
                   const std::filesystem::path& output) {
  refuse_what_is_not_a_package(output);
  const std::string program = read_bounded_file(stub, kLargestPackage, "an install stub");
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
