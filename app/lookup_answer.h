#pragma once
// What a lookup shows for a word, decided without widgets: the equal headword's entry; when
// there is none, the entry of a base form of the word ("running" -> "run"); otherwise the
// nearest headword's entry (or nothing with Strict Compare) together with spelling
// suggestions. The exact match costs one search and nothing more.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/lookup_page.h"

namespace lexora {

class Dictionary;
class WordHelp;

struct LookupAnswer {
  bool searched = false;      // false: the search failed (the dictionary cannot be read)
  int sign = 0;               // the search's sign for the word itself
  uint32_t listPosition = 0;  // the search's list position for the word itself
  // The entry to show; nullopt: nothing is shown (a miss with Strict Compare).
  std::optional<uint32_t> shown;
  // The word the history records: the typed word, or the base form when that is shown.
  std::u16string historyWord;
  // When a base form's entry is shown: the typed form (formOf) and the base form.
  std::u16string formOf;
  std::u16string baseForm;
  // On a miss without a base form: headwords close to the word, best first.
  std::vector<std::u16string> suggestions;
};

// `help` may be null: then a miss is answered as before, by the nearest headword only.
LookupAnswer answerLookup(Dictionary& dictionary, std::u16string_view word, bool strictCompare,
                          WordHelp* help);

// What the shown page gains: the note of the typed form, the suggestions.
PageAdditions pageAdditions(const LookupAnswer& answer);

}  // namespace lexora
