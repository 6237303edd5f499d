#include "lexicon/suffix_rules.h"

#include <algorithm>

namespace lexora {
namespace {

struct Rule {
  std::u16string_view ending;
  std::u16string_view replacement;
  bool undoDoubling;  // the stem may end in a doubled consonant ("runn" -> "run")
};

// Nouns, verbs, then adjectives: what the ending may have replaced.
constexpr Rule kRules[] = {
    {u"s", u"", false},      {u"ses", u"s", false},   {u"xes", u"x", false},
    {u"zes", u"z", false},   {u"ches", u"ch", false}, {u"shes", u"sh", false},
    {u"men", u"man", false}, {u"ies", u"y", false},   {u"es", u"e", false},
    {u"es", u"", false},     {u"ied", u"y", false},   {u"ed", u"e", false},
    {u"ed", u"", true},      {u"ing", u"e", false},   {u"ing", u"", true},
    {u"er", u"", true},      {u"est", u"", true},     {u"er", u"e", false},
    {u"est", u"e", false},
};

bool isVowel(char16_t c) {
  switch (c) {
    case u'a':
    case u'e':
    case u'i':
    case u'o':
    case u'u':
      return true;
    default:
      return false;
  }
}

bool endsWith(std::u16string_view word, std::u16string_view ending) {
  if (word.size() < ending.size()) return false;
  for (size_t i = 0; i < ending.size(); ++i) {
    char16_t c = word[word.size() - ending.size() + i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != ending[i]) return false;
  }
  return true;
}

void addCandidate(std::vector<std::u16string>& out, std::u16string_view word,
                  std::u16string candidate) {
  if (candidate.size() < 2 || candidate == word) return;
  if (std::find(out.begin(), out.end(), candidate) == out.end())
    out.push_back(std::move(candidate));
}

}  // namespace

std::vector<std::u16string> englishSuffixBases(std::u16string_view word) {
  std::vector<std::u16string> out;
  for (const Rule& rule : kRules) {
    if (word.size() <= rule.ending.size() || !endsWith(word, rule.ending)) continue;
    const std::u16string_view stem = word.substr(0, word.size() - rule.ending.size());
    addCandidate(out, word, std::u16string(stem) + std::u16string(rule.replacement));
    const size_t n = stem.size();
    if (rule.undoDoubling && n >= 3 && stem[n - 1] == stem[n - 2] && !isVowel(stem[n - 1])) {
      addCandidate(out, word, std::u16string(stem.substr(0, n - 1)));
    }
  }
  return out;
}

}  // namespace lexora
