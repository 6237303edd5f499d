#pragma once
// MDict dictionaries: NAME.mdx, and the resources of NAME.mdd (NAME.1.mdd, ...) beside it.
// Every key becomes an entry converted from its HTML (or plain text) record; records of one
// key are merged; "@@@LINK=" records become headwords that lead to their target; with
// StripKey a key written with punctuation is also found without it.

#include <string>

#include "importers/entry_sink.h"
#include "util/status.h"

namespace lexora::importers {

class ResourceStore;

// Fails with a reason naming the file when it is missing, damaged or encrypted for one user.
Status readMdictSource(const std::string& mdxFile, EntrySink& sink, SourceInfo& info,
                       ResourceStore* resources = nullptr);

}  // namespace lexora::importers
