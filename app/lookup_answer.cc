#include "app/lookup_answer.h"

#include "app/word_help.h"
#include "engine/dictionary.h"

namespace lexora {

LookupAnswer answerLookup(Dictionary& dictionary, std::u16string_view word, bool strictCompare,
                          WordHelp* help) {
  LookupAnswer answer;
  uint32_t nearest = 0;
  if (!dictionary.findWord(word, nearest, answer.sign, &answer.listPosition).isOk()) return answer;
  answer.searched = true;
  answer.historyWord = std::u16string(word);
  if (answer.sign == 0) {
    answer.shown = answer.listPosition;
    return answer;
  }
  if (help != nullptr) {
    if (std::optional<BaseFormEntry> base = help->baseFormEntry(dictionary, word)) {
      answer.shown = base->position;
      answer.historyWord = base->headword;
      answer.formOf = std::u16string(word);
      answer.baseForm = base->headword;
      return answer;
    }
    answer.suggestions = help->suggestions(dictionary, word);
  }
  if (!strictCompare) answer.shown = answer.listPosition;
  return answer;
}

PageAdditions pageAdditions(const LookupAnswer& answer) {
  return PageAdditions{answer.formOf, answer.baseForm, answer.suggestions};
}

}  // namespace lexora
