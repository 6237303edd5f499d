#pragma once
// dictd databases: NAME.index (headword TAB offset TAB length, dictd's base-64 numbers) beside
// NAME.dict.dz or NAME.dict. Texts of equal headwords (under the collation) become one entry;
// the 00-database-* entries are left out, and 00-database-short gives the title. The texts are
// converted by the shape that the database's header entries name (dictd_markup.h).

#include <cstdint>
#include <string>

#include "importers/entry_sink.h"
#include "util/status.h"

namespace lexora::importers {

// Fails with a reason naming the file when the index or the text cannot be read at all.
Status readDictdSource(const std::string& indexFile, uint32_t collation, EntrySink& sink,
                       SourceInfo& info);

}  // namespace lexora::importers
