#pragma once
// Result codes of the operations that change a dictionary's entries.

namespace lexora {

enum class EditResult : int {
  Ok = 0,
  WordExists = 1,         // an equal headword (under the collation) is already stored
  WordWriteFailed = 2,    // writing the headword to the word file failed
  DataWriteFailed = 3,    // putting the meaning into the data file failed
  IndexWriteFailed = 4,   // writing word records failed
  HeaderWriteFailed = 5,  // writing the header failed
  WordTooLong = 6,        // the headword takes more than MAX_WORD_BYTES in UTF-8
  MeaningTooLong = 7,     // the meaning takes more than MAX_MEANING_BYTES in UTF-8,
                          // or it would need a block past the block table's last slot
  RecordReadFailed = 8,   // reading word records failed
  EmptyWord = 9,          // the headword is empty; nothing was written
  ReadOnly = 10,          // the dictionary is open read-only (or not open): nothing was written
  NoSuchEntry = 11,       // the index names no entry of the dictionary
  DictionaryFull = 12,    // the word count is at its largest: no entry can be added
  SearchFailed = 100,     // the search for the headword failed
};

// "Ok", "WordExists", ...: the names scripts see.
const char* editResultName(EditResult result);

}  // namespace lexora
