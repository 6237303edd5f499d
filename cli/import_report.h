#pragma once
// Runs an import for a command and reports it: progress on a terminal, the first skip reports
// and a count of the rest on stderr, the summary on stdout.

#include <string>

#include "cli/command.h"
#include "importers/import_job.h"

namespace lexora::cli {

// kExitOk when the dictionary (or every volume) was written; `written` gets the data files,
// `info` what the source said about itself.
int importAndReport(importers::SourceKind kind, const std::string& source,
                    const std::string& dataFile, const importers::ImportOptions& options,
                    CommandIo& io, std::vector<std::string>* written = nullptr,
                    importers::SourceInfo* info = nullptr);

}  // namespace lexora::cli
