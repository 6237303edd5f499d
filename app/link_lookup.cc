#include "app/link_lookup.h"

#include "app/word_help.h"
#include "engine/dictionary.h"

namespace lexora {
namespace {

// True when `d` holds `word` as a headword or by one of its base forms.
bool holds(const LinkTarget& d, std::u16string_view word, WordHelp* help) {
  if (d.dictionary == nullptr || !d.dictionary->isOpen() || d.dictionary->wordCount() == 0) {
    return false;
  }
  uint32_t nearest = 0;
  int sign = 0;
  if (!d.dictionary->findWord(word, nearest, sign).isOk()) return false;
  if (sign == 0) return true;
  return help != nullptr && help->baseFormEntry(*d.dictionary, word).has_value();
}

}  // namespace

LinkChoice chooseLinkDictionary(LinkTarget searched, LinkTarget other, std::u16string_view word,
                                WordHelp* help) {
  LinkChoice choice;
  choice.dictionary = searched.index;
  if (word.empty() || other.index == searched.index || holds(searched, word, help) ||
      !holds(other, word, help)) {
    return choice;
  }
  choice.dictionary = other.index;
  choice.fromOther = true;
  choice.note = u"\u201c" + std::u16string(word) + u"\u201d is not in " +
                (searched.dictionary ? searched.dictionary->title() : std::u16string()) +
                u"; shown from " + other.dictionary->title() + u".";
  return choice;
}

}  // namespace lexora
