// The reader on any three files: opening either refuses them with a reason or reads every
// headword and meaning (as far as they read) without crossing a bound.
// Input: u32 length + index file, u32 length + word file, data file.

#include "engine/dictionary.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string base = fuzz::scratchFolder() + "/reader";
  fuzz::writeParts(data, size, base, {".pdi", ".pdw", ".pvm"});
  Dictionary d;
  if (!d.openDictionary(base + ".pvm").isOk()) return 0;
  const uint32_t count = std::min<uint32_t>(d.wordCount(), 300);
  std::vector<std::u16string> words;
  fuzz::anyResult(d.readWords(0, count, words));
  fuzz::anyResult(d.readWords(d.wordCount() - 1, 0xFFFFFFFF, words));
  std::u16string meaning;
  for (uint32_t i = 0; i < count; ++i) fuzz::anyResult(d.readMeaning(i, meaning));
  uint32_t nearest = 0, position = 0;
  int sign = 0;
  for (const char16_t* key : {u"a", u"m", u"\u0111\u00e1", u"\xffff"}) {
    fuzz::anyResult(d.findWord(key, nearest, sign, &position));
  }
  return 0;
}
