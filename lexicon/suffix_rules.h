#pragma once
// The bases that English regular inflection allows for a word: endings taken off and, where
// English spelling asks, a letter put back ("studies" -> "study", "hoping" -> "hope") or a
// doubled consonant undone ("running" -> "run", "stopped" -> "stop", "bigger" -> "big").
// Candidates only: most of them are not words, and a caller keeps the ones it knows.

#include <string>
#include <string_view>
#include <vector>

namespace lexora {

// Candidates of two or more letters, without repeats and without the word itself, in the
// order of the rules (plural and verb endings, then comparison).
std::vector<std::u16string> englishSuffixBases(std::u16string_view word);

}  // namespace lexora
