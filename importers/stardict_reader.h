#pragma once
// StarDict dictionaries: NAME.ifo with NAME.idx (or .idx.gz), NAME.dict (or .dict.dz) and
// optionally NAME.syn. Every index record becomes an entry converted from its fields (plain
// text, pronunciation, Pango, HTML, XDXF); records of equal headwords (under the collation) are
// merged into one entry; every synonym becomes an entry that links to its main word. Pictures,
// sounds and other resources cannot be kept and are counted in SourceInfo::resourcesSkipped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "importers/entry_sink.h"
#include "util/status.h"

namespace lexora::importers {

struct StardictIfo {
  std::string version;  // "2.4.2" or "3.0.0"
  std::string bookname;
  std::string description;
  std::string sameTypeSequence;
  uint64_t wordCount = 0;
  uint64_t synWordCount = 0;
  uint64_t idxFileSize = 0;
  unsigned offsetBits = 32;
};

// Fails with a reason for a text that is not a StarDict header or lacks a required key.
Status parseStardictIfo(std::string_view text, StardictIfo& ifo);

// The entry markup of one entry's data (its fields as stored), for `headword`.
// resources: counts the resource fields left out.
std::string stardictEntryMarkup(std::string_view headword, std::string_view data,
                                const std::string& sameTypeSequence, uint64_t& resources);

// Fails with a reason naming the file when a file is missing, unreadable or not StarDict.
Status readStardictSource(const std::string& ifoFile, uint32_t collation, EntrySink& sink,
                          SourceInfo& info);

}  // namespace lexora::importers
