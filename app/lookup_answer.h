#pragma once
// What a lookup shows for a word, decided without widgets: the equal headword's entry; when
// there is none, the one headword that spells the word another way ("café" for "cafe"), or
// the entry of a base form of the word ("running" -> "run"); for a phrase ("make up one's
// mind") its longest beginning that is a headword, else the first of its words that can be
// found; otherwise the nearest headword's entry (or nothing with Strict Compare) together with
// the other spellings and spelling suggestions. The exact match costs one search and nothing
// more.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/lookup_page.h"

namespace lexora {

class Dictionary;
class WordHelp;

// "exact", "form", "folded" or "nearest" (a part of a phrase too), as scripts read it.
const char* matchName(MatchKind kind);

struct LookupAnswer {
  bool searched = false;      // false: the search failed (the dictionary cannot be read)
  int sign = 0;               // the search's sign for the word itself
  uint32_t listPosition = 0;  // the search's list position for the word itself
  // The entry to show; nullopt: nothing is shown (a miss with Strict Compare).
  std::optional<uint32_t> shown;
  // How the shown entry was found.
  MatchKind match = MatchKind::Nearest;
  // The word the history records: the typed word, or the headword when another one is shown.
  std::u16string historyWord;
  // When an entry other than the typed word's own is shown: the typed word (formOf) and the
  // headword shown (baseForm). Both empty for an exact match.
  std::u16string formOf;
  std::u16string baseForm;
  // When the nearest headword's entry is shown: that headword.
  std::u16string nearest;
  // On a miss: other spellings and headwords close to the word, best first, at most eight.
  std::vector<std::u16string> suggestions;
};

// `help` may be null: then a miss is answered as before, by the nearest headword only.
LookupAnswer answerLookup(Dictionary& dictionary, std::u16string_view word, bool strictCompare,
                          WordHelp* help);

// What the shown page gains: the note that says how the entry was found, the suggestions.
PageAdditions pageAdditions(const LookupAnswer& answer);

}  // namespace lexora
