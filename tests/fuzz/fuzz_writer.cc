// The writer on damaged files: every change either succeeds or fails with a result, never
// crossing a bound nor sizing anything from an unchecked count, and what it leaves opens again.
// Input: as for the reader.

#include "engine/dictionary.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string base = fuzz::scratchFolder() + "/writer";
  fuzz::writeParts(data, size, base, {".pdi", ".pdw", ".pvm"});
  {
    Dictionary d;
    if (!d.openDictionary(base + ".pvm").isOk()) return 0;
    const uint32_t last = d.wordCount() == 0 ? 0 : d.wordCount() - 1;
    fuzz::anyResult(d.addEntry(u"fuzz", u"- a meaning\r\n= an example+its translation"));
    fuzz::anyResult(d.modifyMeaning(last, std::u16string(3000, u'x')));
    uint32_t index = last / 2;
    fuzz::anyResult(d.modifyWord(index, u"renamed"));
    fuzz::anyResult(d.deleteEntry(last));
    fuzz::anyResult(d.deleteEntry(0xFFFFFFF0u));
    fuzz::anyResult(d.setTitle(u"title"));
    fuzz::anyResult(d.setDescription(u"description"));
  }
  Dictionary again;
  if (again.openDictionary(base + ".pvm").isOk()) {
    std::u16string meaning;
    for (uint32_t i = 0; i < std::min<uint32_t>(again.wordCount(), 50); ++i) {
      fuzz::anyResult(again.readMeaning(i, meaning));
    }
  }
  return 0;
}
