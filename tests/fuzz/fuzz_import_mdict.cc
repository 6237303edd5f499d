// The MDict importer on any .mdx file with an .mdd beside it.
// Input: u32 length + the .mdd, the .mdx.

#include "importers/import_job.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = fuzz::scratchFolder();
  fuzz::writeParts(data, size, folder + "/source", {".mdd", ".mdx"});
  importers::importSource(importers::SourceKind::Mdict, folder + "/source.mdx", nullptr,
                          folder + "/mdict.pvm", importers::ImportOptions{});
  return 0;
}
