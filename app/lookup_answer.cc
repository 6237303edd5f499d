#include "app/lookup_answer.h"

#include <algorithm>

#include "app/word_help.h"
#include "engine/dictionary.h"

namespace lexora {
namespace {

struct Found {
  MatchKind match;
  BaseFormEntry entry;
};

std::optional<BaseFormEntry> equalHeadword(Dictionary& dictionary, std::u16string_view word) {
  uint32_t nearest = 0;
  int sign = 0;
  std::vector<std::u16string> headword;
  if (word.empty() || !dictionary.findWord(word, nearest, sign).isOk() || sign != 0 ||
      !dictionary.readWords(nearest, 1, headword).isOk()) {
    return std::nullopt;
  }
  return BaseFormEntry{headword[0], nearest};
}

// The one other spelling of the word, else its base form. `variants` receives the other
// spellings when there are several.
std::optional<Found> findOtherForm(Dictionary& dictionary, std::u16string_view word, WordHelp& help,
                                   std::vector<BaseFormEntry>* variants) {
  std::vector<BaseFormEntry> spellings = help.variants(dictionary, word);
  if (spellings.size() == 1) return Found{MatchKind::Folded, spellings[0]};
  if (auto base = help.baseFormEntry(dictionary, word)) return Found{MatchKind::Form, *base};
  if (variants != nullptr) *variants = std::move(spellings);
  return std::nullopt;
}

std::vector<std::u16string_view> wordsOf(std::u16string_view phrase) {
  std::vector<std::u16string_view> words;
  size_t at = 0;
  while (at < phrase.size()) {
    const size_t end = std::min(phrase.find(u' ', at), phrase.size());
    if (end > at) words.push_back(phrase.substr(at, end - at));
    at = end + 1;
  }
  return words;
}

// A phrase's longest beginning that is a headword, else the first of its words that is one or
// has another spelling or a base form.
std::optional<BaseFormEntry> phrasePart(Dictionary& dictionary, std::u16string_view phrase,
                                        WordHelp& help) {
  const std::vector<std::u16string_view> words = wordsOf(phrase);
  if (words.size() < 2) return std::nullopt;
  for (size_t n = words.size() - 1; n >= 1; --n) {
    const size_t end =
        static_cast<size_t>(words[n - 1].data() - phrase.data()) + words[n - 1].size();
    if (auto entry = equalHeadword(dictionary, phrase.substr(0, end))) return entry;
  }
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) {
      if (auto entry = equalHeadword(dictionary, words[i])) return entry;
    }
    if (auto found = findOtherForm(dictionary, words[i], help, nullptr)) return found->entry;
  }
  return std::nullopt;
}

void showInstead(LookupAnswer& answer, std::u16string_view word, MatchKind match,
                 const BaseFormEntry& entry) {
  answer.shown = entry.position;
  answer.match = match;
  answer.historyWord = entry.headword;
  answer.formOf = std::u16string(word);
  answer.baseForm = entry.headword;
}

// No other spelling, form or part: the other spellings and the suggestions, and the nearest
// headword's entry unless the lookup is strict.
void answerWithNearest(Dictionary& dictionary, std::u16string_view word, bool strictCompare,
                       WordHelp* help, std::vector<BaseFormEntry> variants, LookupAnswer& answer) {
  if (help != nullptr) {
    for (BaseFormEntry& v : variants) answer.suggestions.push_back(std::move(v.headword));
    for (std::u16string& s : help->suggestions(dictionary, word)) {
      if (std::find(answer.suggestions.begin(), answer.suggestions.end(), s) ==
          answer.suggestions.end()) {
        answer.suggestions.push_back(std::move(s));
      }
    }
    if (answer.suggestions.size() > SuggestionIndex::kDefaultCount) {
      answer.suggestions.resize(SuggestionIndex::kDefaultCount);
    }
  }
  if (strictCompare) return;
  answer.shown = answer.listPosition;
  std::vector<std::u16string> nearest;
  if (help != nullptr && dictionary.readWords(answer.listPosition, 1, nearest).isOk()) {
    answer.nearest = std::move(nearest[0]);
  }
}

}  // namespace

const char* matchName(MatchKind kind) {
  switch (kind) {
    case MatchKind::Exact:
      return "exact";
    case MatchKind::Form:
      return "form";
    case MatchKind::Folded:
      return "folded";
    case MatchKind::PhrasePart:
    case MatchKind::Nearest:
      return "nearest";
  }
  return "nearest";
}

LookupAnswer answerLookup(Dictionary& dictionary, std::u16string_view word, bool strictCompare,
                          WordHelp* help) {
  LookupAnswer answer;
  uint32_t nearest = 0;
  if (!dictionary.findWord(word, nearest, answer.sign, &answer.listPosition).isOk()) return answer;
  answer.searched = true;
  answer.historyWord = std::u16string(word);
  if (answer.sign == 0) {
    answer.shown = answer.listPosition;
    answer.match = MatchKind::Exact;
    return answer;
  }
  std::vector<BaseFormEntry> variants;
  if (help != nullptr) {
    if (auto found = findOtherForm(dictionary, word, *help, &variants)) {
      showInstead(answer, word, found->match, found->entry);
      return answer;
    }
    if (auto part = phrasePart(dictionary, word, *help)) {
      showInstead(answer, word, MatchKind::PhrasePart, *part);
      return answer;
    }
  }
  answerWithNearest(dictionary, word, strictCompare, help, std::move(variants), answer);
  return answer;
}

PageAdditions pageAdditions(const LookupAnswer& answer) {
  if (answer.match == MatchKind::Nearest && !answer.nearest.empty()) {
    return PageAdditions{answer.historyWord, answer.nearest, answer.suggestions, answer.match};
  }
  return PageAdditions{answer.formOf, answer.baseForm, answer.suggestions, answer.match};
}

}  // namespace lexora
