#include "lexicon/irregular_forms.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "util/standard_utf8.h"
#include "util/text_file.h"

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

// The fields of a line (a form, then its bases); none for a line too long to be one.
std::vector<std::string_view> fieldsOf(std::string_view line) {
  return line.size() > kLongestLine ? std::vector<std::string_view>{} : textFields(line);
}

// A field as a word: "_" stands for a space.
std::u16string wordOf(std::string_view field) {
  std::string word(field);
  std::replace(word.begin(), word.end(), '_', ' ');
  return fromUtf8(word);
}

}  // namespace

std::string IrregularForms::defaultFolder() {
  const char* own = std::getenv("LEXORA_WORDNET_PATH");
  return own != nullptr && *own != '\0' ? std::string(own) : std::string("/usr/share/wordnet");
}

std::unique_ptr<IrregularForms> IrregularForms::open(const std::string& folder) {
  std::unique_ptr<IrregularForms> forms(new IrregularForms());
  for (const char* name : kLists) {
    List list;
    static_cast<void>(readWholeFile(folder + "/" + name, list.text));  // a missing list is empty
    list.lowered = list.text;
    std::transform(list.lowered.begin(), list.lowered.end(), list.lowered.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    forms->lists_.push_back(std::move(list));
  }
  const bool any = std::any_of(forms->lists_.begin(), forms->lists_.end(), [](const List& list) {
    bool found = false;
    eachLine(list.lowered, [&](std::string_view, size_t) { return !(found = true); });
    return found;
  });
  return any ? std::move(forms) : nullptr;
}

template <typename Take>
void IrregularForms::eachLine(std::string_view text, Take take) {
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size());
    const std::string_view line = text.substr(at, end - at);
    // The first field, when another follows it.
    const size_t start = line.find_first_not_of(" \t\r");
    const size_t after = std::min(line.find_first_of(" \t\r", start), line.size());
    if (line.size() <= kLongestLine && start != std::string_view::npos &&
        line.find_first_not_of(" \t\r", after) != std::string_view::npos &&
        !take(line.substr(start, after - start), end)) {
      return;
    }
    at = end + 1;
  }
}

void IrregularForms::tableOnce() const {
  if (tabled_) return;
  tabled_ = true;
  const auto before = [](const Line& a, const Line& b) {
    return std::tie(a.form, a.list, a.end) < std::tie(b.form, b.list, b.end);
  };
  for (uint32_t l = 0; l < lists_.size(); ++l) {
    const size_t runStart = lines_.size();
    eachLine(lists_[l].lowered, [&](std::string_view form, size_t end) {
      lines_.push_back({form, l, static_cast<uint32_t>(end)});
      return true;
    });
    // The lists come sorted, so each is one run to merge with the ones before; lines of one
    // form stay in the lists' order.
    const auto run = lines_.begin() + static_cast<std::ptrdiff_t>(runStart);
    if (!std::is_sorted(run, lines_.end(), before)) std::sort(run, lines_.end(), before);
    std::inplace_merge(lines_.begin(), run, lines_.end(), before);
  }
}

size_t IrregularForms::size() const {
  tableOnce();
  size_t forms = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i == 0 || lines_[i].form != lines_[i - 1].form) ++forms;
  }
  return forms;
}

std::vector<std::u16string> IrregularForms::baseForms(std::u16string_view word) const {
  std::string key = toUtf8(lowered(word));
  // The lists write a space as "_": a word that holds one is no form of theirs.
  if (key.empty() || key.find('_') != std::string::npos) return {};
  std::replace(key.begin(), key.end(), ' ', '_');
  std::vector<std::u16string> out;
  const auto addBases = [&](uint32_t list, std::string_view form, size_t end) {
    const auto start = static_cast<size_t>(form.data() - lists_[list].lowered.data());
    const std::vector<std::string_view> fields =
        fieldsOf(std::string_view(lists_[list].text).substr(start, end - start));
    // The bases as the list spells them: fields after the form, from the text as read.
    for (size_t i = 1; i < fields.size(); ++i) {
      std::u16string base = wordOf(fields[i]);
      if (std::find(out.begin(), out.end(), base) == out.end()) out.push_back(std::move(base));
    }
  };
  // A few searches read the lists through; past them, the table pays for itself.
  constexpr int kSearchesBeforeTable = 12;
  if (!tabled_ && ++searches_ > kSearchesBeforeTable) tableOnce();
  if (!tabled_) {
    for (uint32_t l = 0; l < lists_.size(); ++l) {
      const std::string_view text = lists_[l].lowered;
      for (size_t at = text.find(key); at != std::string_view::npos; at = text.find(key, at + 1)) {
        const size_t start = at == 0 ? 0 : text.rfind('\n', at - 1) + 1;  // npos + 1 is 0
        const size_t end = std::min(text.find('\n', at), text.size());
        // The line, when its form is the key.
        eachLine(text.substr(start, end - start), [&](std::string_view form, size_t) {
          if (form == key) addBases(l, form, end);
          return false;
        });
        at = end;
      }
    }
    return out;
  }
  const auto first = std::lower_bound(lines_.begin(), lines_.end(), std::string_view(key),
                                      [](const Line& l, std::string_view k) { return l.form < k; });
  for (auto it = first; it != lines_.end() && it->form == key; ++it) {
    addBases(it->list, it->form, it->end);
  }
  return out;
}

}  // namespace lexora
