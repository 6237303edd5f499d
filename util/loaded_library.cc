#include "util/loaded_library.h"

#include <dlfcn.h>

namespace lexora {

LoadedLibrary::LoadedLibrary(const char* soname)
    : handle_(::dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {}

void* LoadedLibrary::symbol(const char* name) const {
  return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace lexora
