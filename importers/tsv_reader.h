#pragma once
// TSV sources: one entry per line, headword TAB meaning, with the escapes of tsv_escape.h. A
// byte-order mark and CR LF line ends are allowed.

#include <istream>
#include <string>

#include "importers/entry_sink.h"
#include "util/status.h"

namespace lexora::importers {

// name: how reports call the source ("stdin" or the file name). Fails with a reason naming
// the source when the stream cannot be read; lines without a TAB are skipped and reported.
Status readTsvSource(std::istream& in, const std::string& name, EntrySink& sink);

}  // namespace lexora::importers
