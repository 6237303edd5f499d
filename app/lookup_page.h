#pragma once
// The additions a lookup makes to an entry's page when it did not find the word itself: a
// note above the entry that says how it was found instead ("running → run", "Showing người
// for nguoi", "No entry for xyz; nearest is xyzzy"), a note when a tapped word is shown from
// the other dictionary of the pair, and spelling suggestions as links under the entry, or on a
// page of their own when no entry is shown. Pages of exact matches found where they were looked
// for are left as they are.

#include <string>
#include <string_view>
#include <vector>

#include "render/display_settings.h"

namespace lexora {

// How a lookup found the entry it shows: the typed word's own, a base form of it, another
// spelling of it, a part of the typed phrase, or the nearest headword.
enum class MatchKind { Exact, Form, Folded, PhrasePart, Nearest };

struct PageAdditions {
  std::u16string formOf;    // the typed word; empty: no note
  std::u16string baseForm;  // the headword whose entry is shown
  std::vector<std::u16string> suggestions;
  MatchKind match = MatchKind::Form;
  std::u16string shownFrom;  // a note on the dictionary the entry comes from; empty: none

  bool empty() const { return formOf.empty() && suggestions.empty() && shownFrom.empty(); }
};

// "running → run", as the note of a base form reads.
std::u16string formNote(std::u16string_view formOf, std::u16string_view baseForm);
// The note for any kind of match, as plain text; empty for an exact match.
std::u16string matchNote(MatchKind match, std::u16string_view typed, std::u16string_view shown);
// "Did you mean: " followed by the words separated by ", ".
std::u16string suggestionLine(const std::vector<std::u16string>& suggestions);

// The page with the notes right after its body tag and the suggestions right before its
// closing tags. A page without additions comes back unchanged.
std::u16string addToPage(std::u16string page, const PageAdditions& additions);
// A page holding only the suggestions, with the page head of the display settings.
std::u16string suggestionsPage(const std::vector<std::u16string>& suggestions,
                               const DisplaySettings& settings);

// The popup form: the notes as first fragments and the suggestions as a last one.
void addToFragments(std::vector<std::u16string>& fragments, const PageAdditions& additions);

}  // namespace lexora
