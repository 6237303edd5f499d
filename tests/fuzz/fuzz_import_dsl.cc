// The DSL importer on any .dsl file with an abbreviations file beside it.
// Input: u32 length + the _abrv.dsl, the .dsl.

#include "importers/import_job.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = fuzz::scratchFolder();
  fuzz::writeParts(data, size, folder + "/source", {"_abrv.dsl", ".dsl"});
  importers::importSource(importers::SourceKind::Dsl, folder + "/source.dsl", nullptr,
                          folder + "/dsl.pvm", importers::ImportOptions{});
  return 0;
}
