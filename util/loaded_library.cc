#include "util/loaded_library.h"

#include <dlfcn.h>

namespace lexora {

LoadedLibrary::LoadedLibrary(const char* soname)
    : handle_(::dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {}

// Left open: what it holds may still be called by destructors that run after this one (a
// thread's parser context), and the system unloads it with the process.
LoadedLibrary::~LoadedLibrary() = default;

void* LoadedLibrary::symbol(const char* name) const {
  return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace lexora
