// Reading a source file, gzip or plain, under a small limit: whatever the bytes, the text is
// whole and within the limit, or the read fails and leaves nothing.

#include <cstdlib>

#include "importers/source_file.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr uint64_t kLimit = 64 * 1024;
  const std::string file = fuzz::scratchFolder() + "/source.dz";
  fuzz::writeBytes(file, std::string_view(reinterpret_cast<const char*>(data), size));
  std::string text;
  const bool ok = importers::readSourceFile(file, text, kLimit).isOk();
  if (text.size() > kLimit || (!ok && !text.empty())) std::abort();
  return 0;
}
