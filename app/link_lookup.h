#pragma once
// Which dictionary a word tapped in a page is shown from. It is looked up in the dictionary the
// page came from; a bilingual page also links words of its other language, and those the
// other dictionary of the pair (working or reverse) holds. When the searched dictionary holds
// neither the word nor a form of it and the other one does, the word is shown from the other
// one with a note that says so, rather than as the nearest unrelated headword.

#include <cstdint>
#include <string>
#include <string_view>

namespace lexora {

class Dictionary;
class WordHelp;

struct LinkTarget {
  Dictionary* dictionary = nullptr;  // null or closed: nothing to search
  int32_t index = -1;
};

struct LinkChoice {
  int32_t dictionary = -1;
  bool fromOther = false;
  std::u16string note;  // with fromOther: "“có” is not in A; shown from B."
};

// `word` is normalised as a lookup normalises it; `help` may be null (exact headwords only).
LinkChoice chooseLinkDictionary(LinkTarget searched, LinkTarget other, std::u16string_view word,
                                WordHelp* help);

}  // namespace lexora
