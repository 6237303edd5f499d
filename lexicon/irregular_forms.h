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

#include <cstdint>
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
  // A list's text as read, and the same in lower case. The lists stay as read: the first few
  // searches read them through (a command-line lookup makes one or two), later ones search a
  // sorted table of where each line's form lies. A map of each line's words made reading the
  // lists cost a command-line lookup more than the lookup itself.
  struct List {
    std::string text;
    std::string lowered;
  };
  // A line that gives bases, in a list's lowered text.
  struct Line {
    std::string_view form;
    uint32_t list;
    uint32_t end;  // where the line ends in the list's text
  };

  IrregularForms() = default;
  // Calls take(form, end of line) for each line of a lowered text that gives bases, until it
  // returns false.
  template <typename Take>
  static void eachLine(std::string_view text, Take take);
  // Fills lines_ from the lists, once: by form, then in the lists' order.
  void tableOnce() const;

  std::vector<List> lists_;
  // Made by the searches (one thread at a time, as everything of the word help).
  mutable std::vector<Line> lines_;
  mutable bool tabled_ = false;
  mutable int searches_ = 0;
};

}  // namespace lexora
