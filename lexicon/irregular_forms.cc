#include "lexicon/irregular_forms.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "util/standard_utf8.h"

namespace lexora {
namespace {

constexpr const char* kLists[] = {"verb.exc", "noun.exc", "adj.exc", "adv.exc"};
constexpr size_t kLongestLine = 1024;

std::u16string lowered(std::u16string_view word) {
  std::u16string out(word);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return out;
}

// The words of a line, "_" read as a space.
std::vector<std::u16string> fields(const std::string& line) {
  std::vector<std::u16string> out;
  size_t at = 0;
  while (at < line.size()) {
    const size_t start = line.find_first_not_of(" \t\r", at);
    if (start == std::string::npos) break;
    const size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
    std::string word = line.substr(start, end - start);
    std::replace(word.begin(), word.end(), '_', ' ');
    out.push_back(fromUtf8(word));
    at = end;
  }
  return out;
}

}  // namespace

std::string IrregularForms::defaultFolder() {
  const char* own = std::getenv("LEXORA_WORDNET_PATH");
  return own != nullptr && *own != '\0' ? std::string(own) : std::string("/usr/share/wordnet");
}

std::unique_ptr<IrregularForms> IrregularForms::open(const std::string& folder) {
  std::unique_ptr<IrregularForms> forms(new IrregularForms());
  for (const char* list : kLists) forms->read(folder + "/" + list);
  if (forms->bases_.empty()) return nullptr;
  return forms;
}

void IrregularForms::read(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() > kLongestLine) continue;
    std::vector<std::u16string> words = fields(line);
    for (size_t i = 1; i < words.size(); ++i) {
      if (!words[0].empty() && !words[i].empty()) add(lowered(words[0]), std::move(words[i]));
    }
  }
}

void IrregularForms::add(std::u16string form, std::u16string base) {
  std::vector<std::u16string>& bases = bases_[std::move(form)];
  if (std::find(bases.begin(), bases.end(), base) == bases.end()) bases.push_back(std::move(base));
}

std::vector<std::u16string> IrregularForms::baseForms(std::u16string_view word) const {
  const auto it = bases_.find(lowered(word));
  return it == bases_.end() ? std::vector<std::u16string>{} : it->second;
}

}  // namespace lexora
