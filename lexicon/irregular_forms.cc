#include "lexicon/irregular_forms.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

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

// The fields of a line (a form, then its bases); empty for a line too long to be one.
std::vector<std::string_view> fieldsOf(std::string_view line) {
  std::vector<std::string_view> out;
  if (line.size() > kLongestLine) return out;
  size_t at = 0;
  while (at < line.size()) {
    const size_t start = line.find_first_not_of(" \t\r", at);
    if (start == std::string_view::npos) break;
    const size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
    out.push_back(line.substr(start, end - start));
    at = end;
  }
  return out;
}

// A field as a word: "_" stands for a space.
std::u16string wordOf(std::string_view field) {
  std::string word(field);
  std::replace(word.begin(), word.end(), '_', ' ');
  return fromUtf8(word);
}

std::string readText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  return std::move(text).str();
}

}  // namespace

std::string IrregularForms::defaultFolder() {
  const char* own = std::getenv("LEXORA_WORDNET_PATH");
  return own != nullptr && *own != '\0' ? std::string(own) : std::string("/usr/share/wordnet");
}

std::unique_ptr<IrregularForms> IrregularForms::open(const std::string& folder) {
  std::unique_ptr<IrregularForms> forms(new IrregularForms());
  for (const char* name : kLists) {
    List list{readText(folder + "/" + name), {}};
    list.lowered = list.text;
    std::transform(list.lowered.begin(), list.lowered.end(), list.lowered.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    forms->lists_.push_back(std::move(list));
  }
  const bool any = !forms->eachForm([](std::string_view) { return false; });
  return any ? std::move(forms) : nullptr;
}

bool IrregularForms::eachForm(const std::function<bool(std::string_view form)>& take) const {
  for (const List& list : lists_) {
    const std::string_view text = list.lowered;
    size_t at = 0;
    while (at < text.size()) {
      const size_t end = std::min(text.find('\n', at), text.size());
      const std::vector<std::string_view> fields = fieldsOf(text.substr(at, end - at));
      if (fields.size() >= 2 && !take(fields[0])) return false;
      at = end + 1;
    }
  }
  return true;
}

size_t IrregularForms::size() const {
  std::set<std::string_view> forms;
  eachForm([&](std::string_view form) { return forms.insert(form), true; });
  return forms.size();
}

std::vector<std::u16string> IrregularForms::baseForms(std::u16string_view word) const {
  std::string key = toUtf8(lowered(word));
  // The lists write a space as "_": a word that holds one is no form of theirs.
  if (key.empty() || key.find('_') != std::string::npos) return {};
  std::replace(key.begin(), key.end(), ' ', '_');
  std::vector<std::u16string> out;
  for (const List& list : lists_) {
    const std::string_view text = list.lowered;
    for (size_t at = text.find(key); at != std::string_view::npos; at = text.find(key, at + 1)) {
      const size_t start = at == 0 ? 0 : text.rfind('\n', at - 1) + 1;  // npos + 1 is 0
      const size_t end = std::min(text.find('\n', at), text.size());
      const std::vector<std::string_view> fields = fieldsOf(text.substr(start, end - start));
      if (fields.size() < 2 || fields[0] != key) continue;
      for (size_t i = 1; i < fields.size(); ++i) {
        // The same place in the text as read, for the bases as the list spells them.
        const auto offset = static_cast<size_t>(fields[i].data() - text.data());
        std::u16string base = wordOf(std::string_view(list.text).substr(offset, fields[i].size()));
        if (std::find(out.begin(), out.end(), base) == out.end()) out.push_back(std::move(base));
      }
      at = end;
    }
  }
  return out;
}

}  // namespace lexora
