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

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
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
  size_t size() const { return bases_.size(); }

 private:
  IrregularForms() = default;
  void read(const std::string& file);
  void add(std::u16string form, std::u16string base);

  std::unordered_map<std::u16string, std::vector<std::u16string>> bases_;
};

}  // namespace lexora
