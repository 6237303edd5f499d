// The TSV importer on any source text: entries are imported or skipped with a reason.

#include <sstream>

#include "cli/commands.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = fuzz::scratchFolder();
  fuzz::writeBytes(folder + "/source.tsv",
                   std::string_view(reinterpret_cast<const char*>(data), size));
  std::istringstream in;
  std::ostringstream out, err;
  cli::CommandIo io{in, out, err};
  cli::importTsv(folder + "/source.tsv", folder + "/tsv.pvm", cli::DictionaryOptions{}, io);
  return 0;
}
