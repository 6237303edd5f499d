#pragma once
// Irregular word forms and their bases ("went" -> "go", "children" -> "child", "better" ->
// "good"), read from the exception lists of an installed WordNet (Debian's wordnet-base puts
// verb.exc, noun.exc, adj.exc and adv.exc in /usr/share/wordnet). Each line of a list is an
// inflected form followed by its bases, separated by spaces, with "_" between the words of a
// phrase.
//
// Usage:
//   auto forms = IrregularForms::open(IrregularForms::defaultFolder());
//   if (forms) for (auto& base : forms->baseForms(u"went")) ...

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lexora {

class IrregularForms {
 public:
  // $LEXORA_WORDNET_PATH when set, otherwise /usr/share/wordnet.
  static std::string defaultFolder();
  // Reads the lists that the folder holds; null when it holds none of them. Lines that are
  // too long or not text are skipped.
  static std::unique_ptr<IrregularForms> open(const std::string& folder);

  // The bases of a form in the lists' order (verbs, nouns, adjectives, adverbs), without
  // repeats; the form is matched in lower case. Empty when it is not in the lists.
  std::vector<std::u16string> baseForms(std::u16string_view word) const;
  // How many forms the lists give bases for.
  size_t size() const;

 private:
  // A list's text as read, and the same in lower case to search for forms in. The lists are
  // searched where they lie rather than read into a table: a command that looks up one word
  // reads them for one search, and a search costs microseconds.
  struct List {
    std::string text;
    std::string lowered;
  };

  IrregularForms() = default;
  // The forms of every line that gives bases, lower case, until `take` returns false.
  bool eachForm(const std::function<bool(std::string_view form)>& take) const;

  std::vector<List> lists_;
};

}  // namespace lexora
