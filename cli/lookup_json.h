#pragma once
// `lookup --json`: one dictionary's answer for a word as a JSON object, its entry's lines
// outlined by kind.

#include <string>
#include <string_view>
#include <vector>

#include "app/lookup_page.h"
#include "cli/lookup_request.h"
#include "cli/render_support.h"

namespace lexora::cli {

// What a miss found besides the nearest headword.
struct MissHelp {
  MatchKind match = MatchKind::Nearest;
  std::u16string formOf;  // the typed word, when the entry shown is found another way
  std::vector<std::u16string> suggestions;
  std::u16string seeAlso;  // for an exact match: the headword it is a form of

  bool found() const { return match != MatchKind::Nearest && match != MatchKind::PhrasePart; }
};

void appendEntryJson(std::string& out, const OpenDictionary& d, const EntryLookup& entry,
                     const MissHelp& help);

}  // namespace lexora::cli
