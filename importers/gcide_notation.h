#pragma once
// gcide writes letters with accents and other signs in ASCII: "[a^]" ă, "[=e]" ē, "['e]" é,
// "[,c]" ç, "[ae]" æ, "[root]" √ ... In its pronunciations '"' marks the stressed syllable
// and '`' the secondary stress, '*' divides syllables. These turn the notation into Unicode.

#include <string>
#include <string_view>

namespace lexora::importers {

// The text with every known bracketed sign replaced by its character (precomposed where
// Unicode has one); other brackets ("[Obs.]", "[1913 Webster]") stay. With `lettersOnly`, a
// sign becomes its bare letters instead ("[a^]" a, "[ae]" ae): for comparing spellings.
std::string decodeGcideNotation(std::string_view text, bool lettersOnly = false);

// A text: the notation decoded, the stress and syllable marks of the words named in braces
// ("{Dic*ta\"to*ri*al*ly}") dropped, so that each is the word it names, and those of the
// respelling after such a word ("{Regulated} (-l[=a]`t[e^]d)") shown as in a pronunciation.
std::string decodeGcideText(std::string_view text);

// A pronunciation: the notation decoded, '"' and '`' as the stress marks ″ and ′ where the
// source puts them, '*' as a hyphen between syllables.
std::string gcidePronunciation(std::string_view text);

// A headword as gcide's headline writes it ("Ca`f['e]\"" gives "Café"): the notation
// decoded, stress and syllable marks dropped.
std::string gcideSpelling(std::string_view text, bool lettersOnly = false);

}  // namespace lexora::importers
