#include "cli/import_run.h"

#include <ostream>

#include "cli/command_support.h"
#include "engine/dictionary_builder.h"

namespace lexora::cli {

int buildImported(std::vector<ImportEntry>& entries, size_t earlySkips,
                  const DictionaryOptions& options, const std::string& dataFile, CommandIo& io) {
  DictionaryBuilder builder(options.collation);
  if (options.title) builder.setTitle(*options.title);
  if (options.description) builder.setDescription(*options.description);
  for (ImportEntry& e : entries) {
    builder.add(e.headword, e.meaning);
    // The builder keeps its own copy; free ours as we go.
    std::u16string().swap(e.headword);
    std::u16string().swap(e.meaning);
  }
  if (!builder.finish(dataFile)) return failure(io, dataFile, builder.error());
  size_t skipped = earlySkips;
  for (size_t i = 0; i < entries.size(); ++i) {
    const EditResult r = builder.result(i);
    if (r == EditResult::Ok) continue;
    ++skipped;
    io.err << entries[i].where << ": skipped: " << editResultName(r) << "\n";
  }
  io.out << "imported " << builder.acceptedCount() << ", skipped " << skipped << "\n";
  return kExitOk;
}

}  // namespace lexora::cli
