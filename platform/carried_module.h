// Loading a shared module that a program carries inside itself (Linux): the
// install package's window module, the author's tool's page server. A program
// travels as one file, so the module's bytes are linked into it and loaded,
// only when needed, from an anonymous in-memory file: nothing is written
// anywhere for it, and a run that does not need the module never loads the
// libraries behind it.
#pragma once

#include <filesystem>
#include <string_view>

namespace tracciato {

// dlopen()s the module file; nullptr when it cannot be loaded (a library it
// needs is missing, say). The module stays loaded for the rest of the run.
void* load_module_file(const std::filesystem::path& module_file);

// The same for a module held in memory; `name` names the in-memory file.
// nullptr when the system cannot make one or the module cannot be loaded.
void* load_carried_module(std::string_view module, const char* name);

// The reason the last load failed, as the loader gives it; "" when none.
std::string_view module_load_error();

}  // namespace tracciato
