#include "importers/zip_library.h"

#include "util/loaded_library.h"

namespace lexora::importers {

const ZipLibrary* zipLibrary() {
  static const LoadedLibrary library(LEXORA_LIBZIP_SONAME);
  static const ZipLibrary* const loaded = []() -> const ZipLibrary* {
    static ZipLibrary z;
    const bool bound = library.bind("zip_open", z.open) && library.bind("zip_discard", z.discard) &&
                       library.bind("zip_name_locate", z.nameLocate) &&
                       library.bind("zip_stat_index", z.statIndex) &&
                       library.bind("zip_fopen_index", z.fopenIndex) &&
                       library.bind("zip_fread", z.fread) && library.bind("zip_fclose", z.fclose);
    return bound ? &z : nullptr;
  }();
  return loaded;
}

}  // namespace lexora::importers
