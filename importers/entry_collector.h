#pragma once
// The import's holder of a source's entries between its reader and the dictionary builder.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "importers/entry_sink.h"
#include "importers/import_job.h"

namespace lexora::importers {

// Keeps the entries until they go to the builder. The meaning texts lie back to back in large
// chunks rather than in one allocation each: freed at once before the builder writes, they give
// their memory back instead of leaving the heap full of holes.
class Collector : public EntrySink {
 public:
  struct Held {
    std::u16string headword;
    uint32_t chunk = 0;
    uint32_t offset = 0;
    uint32_t length = 0;
    uint32_t whereOffset = 0;
    uint32_t whereLength = 0;
  };

  Collector(ImportOutcome& outcome, const ProgressFunction& progress)
      : outcome_(outcome), progress_(progress) {}

  void add(std::string_view headword, std::string&& meaning, std::string_view where) override;
  void skip(std::string_view report) override { note(std::string(report)); }
  bool progress(uint64_t done, uint64_t total) override;

  // Counts a skipped entry and keeps its report among the first kReportLimit.
  void note(std::string report);

  std::string_view meaningOf(const Held& h) const {
    return std::string_view(chunks_[h.chunk]).substr(h.offset, h.length);
  }
  std::string_view whereOf(const Held& h) const {
    return std::string_view(places_).substr(h.whereOffset, h.whereLength);
  }
  void releaseMeanings() { std::vector<std::string>().swap(chunks_); }

  std::vector<Held>& entries() { return entries_; }
  uint64_t bytes() const { return bytes_; }
  bool cancelled() const { return cancelled_; }
  bool tooLarge() const { return tooLarge_; }

 private:
  ImportOutcome& outcome_;
  const ProgressFunction& progress_;
  std::vector<Held> entries_;
  std::vector<std::string> chunks_;
  std::string places_;
  uint64_t bytes_ = 0;
  bool cancelled_ = false;
  bool tooLarge_ = false;
};

}  // namespace lexora::importers
