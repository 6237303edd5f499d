// A suggestion index file, damaged or forged, read in place: it is refused, or its searches
// stay inside it and name headwords of its own texts.

#include <cstring>

#include "lexicon/file_stamp.h"
#include "lexicon/suggestion_index.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

namespace {

// The stamp the file names (after its 8-byte magic and its collation), so that the load goes
// past that check to the tables.
FileStamp stampOf(const uint8_t* data, size_t size) {
  FileStamp stamp;
  constexpr size_t at = 8 + sizeof(uint32_t);
  if (size >= at + sizeof stamp.sizes + sizeof stamp.modified) {
    std::memcpy(stamp.sizes.data(), data + at, sizeof stamp.sizes);
    std::memcpy(stamp.modified.data(), data + at + sizeof stamp.sizes, sizeof stamp.modified);
  }
  return stamp;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::scratchFolder() + "/index.psg";
  fuzz::writeBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
  const std::unique_ptr<SuggestionIndex> index = SuggestionIndex::load(path, stampOf(data, size));
  if (!index) return 0;
  for (const char16_t* word : {u"runing", u"cafe", u"a", u"zzzzzzzzzzzz"}) {
    for (const Suggestion& s : index->suggest(word)) fuzz::anyResult(s.headword.size());
    for (const Suggestion& s : index->variants(word)) fuzz::anyResult(s.headword.size());
  }
  return 0;
}
