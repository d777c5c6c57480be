// The tool's two output streams. What goes to standard output is the tool's
// result (a JSON report, the list of files written); a failure to deliver it
// must not end in a status that says all went well.
#pragma once

#include <string>
#include <string_view>

namespace tracciato {

void print_out(std::string_view text);
void print_err(std::string_view text);

// Gathers text for standard error and writes it in large pieces: a run with
// a million warnings neither holds all of them at once nor writes each on its
// own.
class ErrorWriter {
 public:
  ErrorWriter() = default;
  ErrorWriter(const ErrorWriter&) = delete;
  ErrorWriter& operator=(const ErrorWriter&) = delete;
  ~ErrorWriter() { flush(); }

  void write(std::string_view text);
  void flush();

 private:
  std::string pending_;
};

// Flushes standard output. Returns `status` when everything printed there
// arrived; otherwise says so on standard error and returns kExitIo.
int finish_output(int status);

}  // namespace tracciato
