#include "driver/failure_message.h"

#include <cerrno>

namespace tracciato {
namespace {

std::string advice(int error, const std::string& folder, std::string_view run_again) {
  switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
      return "free some space in " + folder + " and " + std::string(run_again);
    case EACCES:
    case EPERM:
    case EROFS:
      return "make sure " + folder + " may be written and " + std::string(run_again);
    case ENOENT:
    case ENOTDIR:
      return "make sure the folder " + folder + " exists and " + std::string(run_again);
    default:
      return "check " + folder + " and " + std::string(run_again);
  }
}

}  // namespace

std::string file_failure_message(const IoError& failure, std::string_view run_again) {
  // A refusal of the program's own (no system error) says all there is.
  if (failure.error() == 0) return failure.what();
  std::string folder = failure.path().parent_path().string();
  if (folder.empty()) folder = ".";
  return "cannot write " + std::string(failure.what()) + "; " +
         advice(failure.error(), folder, run_again);
}

std::string install_failure_message(const std::exception& failure) {
  if (const auto* io = dynamic_cast<const IoError*>(&failure)) {
    return " " + file_failure_message(*io, "run the package again");
  }
  return " " + std::string(failure.what());
}

std::string damaged_package_message(std::string_view reason) {
  return " this package is damaged and should be downloaded again; nothing was written (" +
         std::string(reason) + ")";
}

}  // namespace tracciato
