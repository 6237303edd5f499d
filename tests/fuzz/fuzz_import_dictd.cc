// The dictd importer on any index and text files. Input: u32 length + the index, the text.

#include "importers/import_job.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = fuzz::scratchFolder();
  fuzz::writeParts(data, size, folder + "/source", {".index", ".dict"});
  importers::importSource(importers::SourceKind::Dictd, folder + "/source.index", nullptr,
                          folder + "/dictd.pvm", importers::ImportOptions{});
  return 0;
}
