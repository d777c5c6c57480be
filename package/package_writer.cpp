#include "package/package_writer.h"

#include <system_error>

#include "package/payload.h"
#include "platform/bounded_read.h"
#include "platform/file_replace.h"
#include "platform/staged_files.h"

namespace tracciato {

void write_package(const std::filesystem::path& stub, const InstallScenario& scenario,
                   const std::filesystem::path& output) {
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
