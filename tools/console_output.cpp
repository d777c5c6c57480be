#include "tools/console_output.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include "tools/exit_status.h"

namespace tracciato {

void print_out(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void print_err(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); }

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
