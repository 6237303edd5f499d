#pragma once
// TSV sources: one entry per line, headword TAB meaning, with the escapes of tsv_escape.h. A
// byte-order mark and CR LF line ends are allowed.

#include <istream>
#include <string>

#include "importers/entry_sink.h"

namespace lexora::importers {

// name: how reports call the source ("stdin" or the file name). False with a reason when the
// stream cannot be read; lines without a TAB are skipped and reported.
bool readTsvSource(std::istream& in, const std::string& name, EntrySink& sink, std::string& error);

}  // namespace lexora::importers
