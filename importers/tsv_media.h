#pragma once
// The pictures and sounds of a TSV source: its entries name them with media lines, as
// `lexora-cli export -o FILE` writes them, and the files lie in the source's resource folder
// (fileSetNames(source).resourceFolder: "words.tsv" has "words.res"). A sink between the TSV
// reader and the import copies each named file into the new dictionary's resource folder once;
// a media line whose file cannot be read is dropped and counted as skipped.

#include <string>

#include "importers/entry_sink.h"
#include "importers/media_archive.h"

namespace lexora::importers {

class ResourceStore;

class TsvMediaSink : public EntrySink {
 public:
  // Entries go on to `next`; files come from `folder` into `resources`.
  TsvMediaSink(EntrySink& next, const std::string& folder, ResourceStore& resources,
               SourceInfo& info)
      : next_(next), media_(std::string(), folder), resources_(resources), info_(info) {}

  void add(std::string_view headword, std::string&& meaning, std::string_view where) override;
  void skip(std::string_view report) override { next_.skip(report); }
  bool progress(uint64_t done, uint64_t total) override { return next_.progress(done, total); }

 private:
  // The media line that shows `name`, its file copied first; empty when it cannot be.
  std::string mediaLine(std::string_view name, std::string_view where);

  EntrySink& next_;
  MediaArchive media_;
  ResourceStore& resources_;
  SourceInfo& info_;
};

}  // namespace lexora::importers
