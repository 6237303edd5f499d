#pragma once
// DSL dictionaries: NAME.dsl or NAME.dsl.dz, with NAME_abrv.dsl (abbreviations for the "[p]"
// labels) and NAME.ann (the description) beside it when they exist. Every headword of a card
// (each optional-part form, several headword lines, "@" sub-cards) becomes an entry; the
// index language becomes SourceInfo::language.

#include <string>

#include "importers/entry_sink.h"
#include "util/status.h"

namespace lexora::importers {

class ResourceStore;

// Fails with a reason naming the file when it is missing or unreadable. `resources`, when
// given, receives the media files that "[s]" tags name (from NAME.dsl.files.zip or the folder
// NAME.dsl.files); without it they are counted in SourceInfo::resourcesSkipped.
Status readDslSource(const std::string& file, EntrySink& sink, SourceInfo& info,
                     ResourceStore* resources = nullptr);

// NAME for NAME.dsl or NAME.dsl.dz (the path without that ending); empty for other names.
std::string dslBaseName(const std::string& file);

}  // namespace lexora::importers
