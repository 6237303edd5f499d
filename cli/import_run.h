#pragma once
// The part every import shares: the collected entries go through a DictionaryBuilder, skipped
// entries are reported on stderr with where they came from, and a summary goes to stdout.

#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/dictionary_options.h"

namespace lexora::cli {

struct ImportEntry {
  std::u16string headword;
  std::u16string meaning;
  std::string where;  // "SRC:12" or similar, for the skip report
};

// earlySkips: entries the reader already refused (each reported by the reader).
// Prints "imported N, skipped M"; kExitOk unless the files could not be written.
int buildImported(std::vector<ImportEntry>& entries, size_t earlySkips,
                  const DictionaryOptions& options, const std::string& dataFile, CommandIo& io);

}  // namespace lexora::cli
