#include "cli/import_report.h"

#include <unistd.h>

#include <ostream>

#include "cli/command_support.h"
#include "cli/terminal_progress.h"
#include "engine/file_format.h"

namespace lexora::cli {

int importAndReport(importers::SourceKind kind, const std::string& source,
                    const std::string& dataFile, const importers::ImportOptions& options,
                    CommandIo& io, std::vector<std::string>* written, importers::SourceInfo* info) {
  using importers::ImportOutcome;
  using importers::ImportResult;
  ImportOutcome outcome;
  {
    TerminalProgress bar(::isatty(STDERR_FILENO) != 0);
    outcome = importers::importSource(
        kind, source, &io.in, dataFile, options,
        [&](uint64_t done, uint64_t total) { return bar.update(done, total); });
  }
  for (const std::string& report : outcome.reports) io.err << report << "\n";
  if (outcome.skipped > outcome.reports.size()) {
    io.err << "... and " << (outcome.skipped - outcome.reports.size()) << " more skipped\n";
  }
  if (outcome.result != ImportResult::Done) {
    io.err << "lexora-cli: "
           << (outcome.result == ImportResult::Cancelled ? source + ": import cancelled"
                                                         : outcome.status.message())
           << "\n";
    return kExitFailed;
  }
  io.out << "imported " << outcome.imported << ", skipped " << outcome.skipped << "\n";
  if (outcome.resources > 0) {
    io.out << "kept " << counted(outcome.resources, "picture or sound", "pictures and sounds")
           << " in " << fileSetNames(outcome.dataFiles.back()).resourceFolder << "\n";
  }
  if (outcome.info.resourcesSkipped > 0) {
    io.out << "left out "
           << counted(outcome.info.resourcesSkipped, "picture, sound or other resource",
                      "pictures, sounds and other resources")
           << " that entries name\n";
  }
  if (outcome.dataFiles.size() > 1) {
    for (const std::string& f : outcome.dataFiles) io.out << "wrote " << f << "\n";
  }
  if (written != nullptr) *written = outcome.dataFiles;
  if (info != nullptr) *info = outcome.info;
  return kExitOk;
}

}  // namespace lexora::cli
