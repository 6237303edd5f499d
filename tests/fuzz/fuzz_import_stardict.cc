// The StarDict importer on any .ifo, .idx, .dict and .syn files.
// Input: u32 length + the .ifo, u32 length + the .idx, u32 length + the .dict, the .syn.

#include "importers/import_job.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = fuzz::scratchFolder();
  fuzz::writeParts(data, size, folder + "/source", {".ifo", ".idx", ".dict", ".syn"});
  importers::importSource(importers::SourceKind::Stardict, folder + "/source.ifo", nullptr,
                          folder + "/stardict.pvm", importers::ImportOptions{});
  return 0;
}
