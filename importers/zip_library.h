#pragma once
// libzip, opened on the first zip archive an importer reads (util/loaded_library.h): the
// functions the importers call, by their libzip names without the prefix.

#include <zip.h>

namespace lexora::importers {

struct ZipLibrary {
  decltype(&zip_open) open = nullptr;
  decltype(&zip_discard) discard = nullptr;
  decltype(&zip_name_locate) nameLocate = nullptr;
  decltype(&zip_stat_index) statIndex = nullptr;
  decltype(&zip_fopen_index) fopenIndex = nullptr;
  decltype(&zip_fread) fread = nullptr;
  decltype(&zip_fclose) fclose = nullptr;
};

// Null when libzip cannot be loaded.
const ZipLibrary* zipLibrary();

}  // namespace lexora::importers
