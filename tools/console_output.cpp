#include "tools/console_output.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include "tools/exit_status.h"

namespace tracciato {

void print_out(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void print_err(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); }

void ErrorWriter::write(std::string_view text) {
  constexpr size_t kPiece = size_t{1} << 16;
  pending_ += text;
  if (pending_.size() >= kPiece) flush();
}

void ErrorWriter::flush() {
  print_err(pending_);
  pending_.clear();
}

int finish_output(int status) {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  if (flushed && !std::ferror(stdout)) return status;
  const int saved = errno;
  const std::string reason =
      saved != 0 ? std::generic_category().message(saved) : std::string("write failed");
  print_err("tracciato: standard output: " + reason + "\n");
  return kExitIo;
}

}  // namespace tracciato
