#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "platform/carried_module.h"

namespace tracciato {
namespace {

std::string last_error;

}  // namespace

void* load_module_file(const std::filesystem::path& module_file) {
  void* handle = dlopen(module_file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    last_error = why != nullptr ? why : "the module cannot be loaded";
  }
  return handle;
}

void* load_carried_module(std::string_view module, const char* name) {
  const int fd = memfd_create(name, MFD_CLOEXEC);
  if (fd < 0) {
    last_error = "no in-memory file can be made for the module";
    return nullptr;
  }
  bool written = true;
  for (size_t done = 0; written && done < module.size();) {
    const ssize_t n = ::write(fd, module.data() + done, module.size() - done);
    written = n > 0;
    if (written) done += static_cast<size_t>(n);
  }
  void* handle = nullptr;
  // The loader maps the file; the descriptor is not needed after that.
  if (written) {
    handle = load_module_file("/proc/self/fd/" + std::to_string(fd));
  } else {
    last_error = "the module cannot be written to memory";
  }
  ::close(fd);
  return handle;
}

std::string_view module_load_error() { return last_error; }

}  // namespace tracciato
