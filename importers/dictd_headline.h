#pragma once
// The first line of a dictd text, which names the word again: how the text spells the
// headword, its pronunciation and word class, and the forms and etymology after them. Also the
// sense numbers that start the lines below it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "importers/dictd_markup.h"
#include "importers/dictd_text.h"

namespace lexora::importers {

struct DictdHeadline {
  std::string pronunciation;
  bool respelled = false;  // gcide: from its respelling, not the syllabified word
  std::string wordClass;
  std::string rest;      // forms, etymology and the like
  size_t bodyStart = 0;  // the first line after the headline
};

// nullopt when the first line does not repeat `headword` (as the text spells it).
std::optional<DictdHeadline> readDictdHeadline(DictdShape shape, std::string_view headword,
                                               const std::vector<dictd_text::Line>& lines);

// The headword as the text writes it on its first line ("Zeus" for the index key "zeus",
// "aujourd'hui" for "aujourdhui", "Café" for gcide's "Caf'e") or, whole, on a line under it
// before the first blank line (another name of the entry); empty when the text does not name
// it so. gcide texts are expected with their notation still undecoded.
std::string dictdSpelledHeadword(DictdShape shape, std::string_view key, std::string_view text);

struct DictdSenseStart {
  size_t length = 0;      // bytes of the number and the blanks after it
  std::string wordClass;  // WordNet's "n 1:" names one
  bool sub = false;       // "(a)"
};
std::optional<DictdSenseStart> dictdSenseStart(std::string_view line, DictdShape shape);

}  // namespace lexora::importers
