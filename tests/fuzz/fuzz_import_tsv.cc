// The TSV importer on any source text: entries are imported or skipped with a reason.

#include "importers/import_job.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = fuzz::scratchFolder();
  fuzz::writeBytes(folder + "/source.tsv",
                   std::string_view(reinterpret_cast<const char*>(data), size));
  importers::importSource(importers::SourceKind::Tsv, folder + "/source.tsv", nullptr,
                          folder + "/tsv.pvm", importers::ImportOptions{});
  return 0;
}
