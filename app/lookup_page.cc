#include "app/lookup_page.h"

#include "render/entry_renderer.h"
#include "render/html_escape.h"

namespace lexora {
namespace {

constexpr std::u16string_view kPageEnd = u"</body></html>";

std::u16string noteHtml(const PageAdditions& a) {
  const std::u16string typed = u"<i>" + htmlEscaped(a.formOf) + u"</i>";
  const std::u16string shown = u"<b>" + htmlEscaped(a.baseForm) + u"</b>";
  switch (a.match) {
    case MatchKind::Exact:
    case MatchKind::Form:
      return u"<p>" + typed + u" \u2192 " + shown + u"</p>";
    case MatchKind::Folded:
    case MatchKind::PhrasePart:
      return u"<p>Showing " + shown + u" for " + typed + u"</p>";
    case MatchKind::Nearest:
      break;
  }
  return u"<p>No entry for " + typed + u"; nearest is " + shown + u"</p>";
}

std::u16string shownFromHtml(const PageAdditions& a) {
  return u"<p><i>" + htmlEscaped(a.shownFrom) + u"</i></p>";
}

// The notes that stand above the entry, in reading order.
std::u16string notesHtml(const PageAdditions& a) {
  std::u16string notes;
  if (!a.shownFrom.empty()) notes += shownFromHtml(a);
  if (!a.formOf.empty()) notes += noteHtml(a);
  return notes;
}

std::u16string suggestionsHtml(const std::vector<std::u16string>& suggestions) {
  std::u16string out = u"<p>Did you mean: ";
  for (size_t i = 0; i < suggestions.size(); ++i) {
    if (i > 0) out += u", ";
    const std::u16string word = htmlEscaped(suggestions[i]);
    out += u"<a href=\"" + word + u"\">" + word + u"</a>";
  }
  return out + u"</p>";
}

}  // namespace

std::u16string formNote(std::u16string_view formOf, std::u16string_view baseForm) {
  return std::u16string(formOf) + u" \u2192 " + std::u16string(baseForm);
}

std::u16string matchNote(MatchKind match, std::u16string_view typed, std::u16string_view shown) {
  const std::u16string t(typed);
  const std::u16string s(shown);
  switch (match) {
    case MatchKind::Exact:
      return {};
    case MatchKind::Form:
      return formNote(typed, shown);
    case MatchKind::Folded:
    case MatchKind::PhrasePart:
      return u"Showing " + s + u" for " + t;
    case MatchKind::Nearest:
      break;
  }
  return u"No entry for \"" + t + u"\"; nearest is \"" + s + u"\".";
}

std::u16string suggestionLine(const std::vector<std::u16string>& suggestions) {
  std::u16string out = u"Did you mean: ";
  for (size_t i = 0; i < suggestions.size(); ++i) {
    if (i > 0) out += u", ";
    out += suggestions[i];
  }
  return out;
}

std::u16string addToPage(std::u16string page, const PageAdditions& additions) {
  if (!additions.suggestions.empty()) {
    const size_t end = page.rfind(kPageEnd);
    page.insert(end == std::u16string::npos ? page.size() : end,
                suggestionsHtml(additions.suggestions));
  }
  if (const std::u16string notes = notesHtml(additions); !notes.empty()) {
    // The page head is one "<html><body ...>" tag: the notes go right after it.
    const size_t body = page.find(u"<body");
    const size_t close = body == std::u16string::npos ? body : page.find(u'>', body);
    page.insert(close == std::u16string::npos ? 0 : close + 1, notes);
  }
  return page;
}

std::u16string suggestionsPage(const std::vector<std::u16string>& suggestions,
                               const DisplaySettings& settings) {
  return pageHead(settings) + suggestionsHtml(suggestions) + std::u16string(kPageEnd);
}

void addToFragments(std::vector<std::u16string>& fragments, const PageAdditions& additions) {
  if (!additions.formOf.empty()) fragments.insert(fragments.begin(), noteHtml(additions));
  if (!additions.shownFrom.empty()) fragments.insert(fragments.begin(), shownFromHtml(additions));
  if (!additions.suggestions.empty()) fragments.push_back(suggestionsHtml(additions.suggestions));
}

}  // namespace lexora
