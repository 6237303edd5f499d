#pragma once
// A loose key for a word: what is left of it when the differences a person does not type are
// set aside: case, accents and tone marks (café/cafe, người/nguoi, Häuser/hauser), ligatures
// written out (œ/oe, æ/ae, ß/ss), đ/d, Cyrillic ё/е, and apostrophes, hyphens and spaces
// (aujourd'hui/aujourdhui, grand-mère/grand mere). Two words with the same key are spelling
// variants of each other. Other Cyrillic letters keep their marks (й is not и).

#include <string>
#include <string_view>

namespace lexora {

std::u16string looseKey(std::u16string_view word);
// The same into out (cleared first), reusing its memory.
void looseKeyInto(std::u16string_view word, std::u16string& out);

}  // namespace lexora
