#pragma once
// Reading a dictd database: the ".index" file (headword TAB offset TAB length per line, the
// numbers in dictd's base-64 digits) and the text beside it in ".dict.dz" (gzip) or ".dict".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/status.h"

namespace lexora::importers {

// A number written in dictd's base-64 digits (A-Z a-z 0-9 + /, most significant first);
// nullopt for an empty text, another character, or a value past 2^48.
std::optional<uint64_t> decodeDictdNumber(std::string_view digits);

struct DictdIndexLine {
  std::string headword;  // UTF-8 as in the file
  uint64_t offset = 0;
  uint64_t length = 0;
  size_t lineNumber = 0;  // 1-based
};

struct DictdIndex {
  std::vector<DictdIndexLine> lines;
  std::vector<std::string> problems;  // "line N: reason" for lines that do not parse
};

// Parses an index text. A line may carry a fourth field, the headword as first written; it is
// used instead of the first when present.
DictdIndex parseDictdIndex(std::string_view text);

// The text file that belongs to an index file: NAME.index gives NAME.dict.dz when it exists,
// otherwise NAME.dict. nullopt when neither exists.
std::optional<std::string> dictdTextFileFor(const std::string& indexFile);

// True for the database's own entries (00-database-short, 00databaseinfo, ...).
bool isDictdMetaEntry(std::string_view headword);

}  // namespace lexora::importers
