#pragma once
// A quick look at an installed path before the list is stored: are the dictionary's three
// files there, and does its index file look like one? It reads the index file's header only
// and takes no lock, so it also works on dictionaries the main window holds open.

#include <string>

namespace lexora {

enum class DictionaryFileProblem {
  kNone,            // the three files are there and the index header is sound
  kMissing,         // the data file or a companion (.pdw, .pdi) is missing
  kNotADictionary,  // the files are there but the index file is no dictionary index
};

DictionaryFileProblem checkDictionaryFile(const std::string& dataFile);

// What the dictionaries dialog writes under a path with a problem ("" for none).
std::u16string dictionaryProblemText(DictionaryFileProblem problem);

}  // namespace lexora
