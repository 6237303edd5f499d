#pragma once
// What is derived from a dictionary's files and kept beside them: the full-text index of the
// meanings and the suggestion index of the headwords. Built as soon as the files are written
// (an import, an install), so that no search or lookup has to wait for them.

#include <cstdint>
#include <functional>
#include <string>

#include "util/status.h"

namespace lexora {

class Dictionary;

// Opens the dictionary and builds both indexes. progress(done, total) counts the entries of
// the full-text index; false cancels (Busy).
Status buildDerivedIndexes(const std::string& dataFile,
                           const std::function<bool(uint32_t done, uint32_t total)>& progress = {});

// The suggestion index of an open dictionary, kept beside it (FileSetNames::suggestionFile).
Status buildSuggestionFile(Dictionary& dictionary);

}  // namespace lexora
