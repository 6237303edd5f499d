#pragma once
// The home page that the viewer shows when no meaning is on screen: one line per installed
// dictionary with its title, description and word count, or a request to install some.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lexora {

// Where more dictionaries can be had: the bundled help's part on getting and importing
// dictionaries. The page links to it with this address, which the main window opens in the
// help viewer rather than looking it up.
inline constexpr const char16_t* kDictionaryHelpLink = u"help:DictionaryMenu";
inline constexpr const char16_t* kDictionaryHelpText = u"Help: getting and importing dictionaries";

inline bool isDictionaryHelpLink(std::u16string_view href) { return href == kDictionaryHelpLink; }

// What the home page says about one installed dictionary (empty texts and 0 words when it is
// not open).
struct HomePageEntry {
  std::u16string title;
  std::u16string description;
  uint32_t wordCount = 0;
};

// The whole page, one entry per installed dictionary (none: the "please install" page).
// Titles and descriptions are written as text: "<", ">", "&" and '"' in them are escaped.
std::u16string buildHomePage(const std::vector<HomePageEntry>& entries);

// The entries for the first `totalDict` slots of `dictionaries` (a container of dictionaries
// with isOpen(), title(), description() and wordCount()).
// REQUIRES: totalDict <= dictionaries.size().
template <typename Dictionaries>
std::vector<HomePageEntry> homePageEntries(const Dictionaries& dictionaries, int32_t totalDict) {
  std::vector<HomePageEntry> entries;
  for (int32_t k = 0; k < totalDict; ++k) {
    const auto& dictionary = dictionaries[static_cast<std::size_t>(k)];
    HomePageEntry entry;
    if (dictionary.isOpen()) {
      entry.title = dictionary.title();
      entry.description = dictionary.description();
      entry.wordCount = dictionary.wordCount();
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace lexora
