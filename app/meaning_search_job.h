#pragma once
// The window's full-text search and index work, run on a DictionaryWorker: a search over one
// or several dictionaries that reports each match as it is found, and the preparation of the
// derived indexes (full-text, suggestions) that the open dictionaries lack.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "util/status.h"

namespace lexora {

class Dictionary;

struct SearchedDictionary {
  int32_t slot = -1;  // the dictionary's slot, handed back with its matches
  Dictionary* dictionary = nullptr;
};

struct MeaningHit {
  int32_t slot = -1;
  uint32_t position = 0;
  std::u16string headword;
  std::u16string line;  // the matching line as a reader sees it (readableLine)
};

// A matching line without the markup marks: its text, a pronunciation between slashes, and a
// translation after " + ".
std::u16string readableLine(const std::u16string& markupLine);

// Searches the dictionaries in turn (through their full-text index; one without a current
// index is read whole, not indexed here). Stops early when `stop` is set. Returns the first
// failure, after searching the others.
Status searchMeanings(std::u16string_view text, const std::vector<SearchedDictionary>& dictionaries,
                      const std::atomic<bool>& stop,
                      const std::function<void(const MeaningHit&)>& found);

// For each open dictionary in turn: its suggestion index when it has none that matches its
// files (beside it, or in keptFolder when its own folder cannot be written; see WordHelp),
// and its full-text index when that is missing or stale. progress(slot, done, total) while a
// full-text index is built.
void prepareDerivedIndexes(
    const std::vector<SearchedDictionary>& dictionaries, const std::string& keptFolder,
    const std::atomic<bool>& stop,
    const std::function<void(int32_t slot, uint32_t done, uint32_t total)>& progress);

}  // namespace lexora
