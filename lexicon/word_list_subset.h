#pragma once
// The lines of a Hunspell word list (.dic) that checking one word can reach.
//
// Loading a whole word list costs tens of milliseconds (most of it is the list: en_US has
// 79,000 lines); checking one word reaches only the stems that the word holds, give or take
// what the affix rules strip off their ends. A Hunspell dictionary loaded from the whole .aff
// and this subset of the .dic therefore spells and stems that one word exactly as the whole
// dictionary does, for a fraction of the cost: a command that looks up one word needs no more.
//
// A line is kept when its stem, with as many letters taken off each end as the affix rules can
// strip (twice, for two affixes on one side), lies within the word, both case folded; short
// stems are always kept. Features that check a word against stems it does not hold (IGNORE,
// CHECKCOMPOUNDPATTERN, CHECKCOMPOUNDREP, the Turkic dotted i, an input conversion that the word
// uses) and word lists not in UTF-8 give no subset: the whole list serves.

#include <optional>
#include <string>
#include <string_view>

namespace lexora {

// What an affix file lets the subset rely on.
struct AffixReach {
  bool subsetAllowed = false;
  int prefixStrip = 0;           // the most letters a word's front may lack of its stem
  int suffixStrip = 0;           // ... and its end
  std::string inputConversions;  // the ICONV patterns, each followed by '\n'
};

AffixReach readAffixReach(std::string_view affText);

// The .dic text cut down to the lines that can check `word` (UTF-8), with its count line
// restated; nullopt when the affix file allows no subset or the word uses an input conversion.
std::optional<std::string> wordListSubset(std::string_view dicText, std::string_view word,
                                          const AffixReach& reach);

}  // namespace lexora
