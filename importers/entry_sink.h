#pragma once
// What every source reader hands its entries to. A reader turns one source format into
// (headword, entry markup) pairs in standard UTF-8 and reports the parts it cannot use; the
// import job (import_job.h) collects them for the dictionary builder.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lexora::importers {

class EntrySink {
 public:
  virtual ~EntrySink() = default;

  // One entry. `where` names its place in the source ("gcide.index:1234") for reports.
  virtual void add(std::string_view headword, std::string&& meaning, std::string_view where) = 0;

  // A part of the source that the reader left out; `report` says where and why.
  virtual void skip(std::string_view report) = 0;

  // `done` of `total` source entries read. False when the import is to stop (cancelled); the
  // reader then returns at once.
  virtual bool progress(uint64_t done, uint64_t total) = 0;
};

// What a source says about itself.
struct SourceInfo {
  std::optional<std::string> title;
  std::optional<std::string> description;
  std::string shape;              // the kind of text found ("gcide", "HTML", ...), for reports
  uint64_t resourcesSkipped = 0;  // pictures, sounds and other files that entries name
  std::string language;           // the headwords' language tag ("en"), empty when unknown
};

}  // namespace lexora::importers
