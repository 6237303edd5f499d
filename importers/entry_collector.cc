#include "importers/entry_collector.h"

#include <algorithm>

#include "importers/source_file.h"
#include "util/standard_utf8.h"

namespace lexora::importers {

void Collector::add(std::string_view headword, std::string&& meaning, std::string_view where) {
  constexpr size_t kChunk = 8u << 20;
  if (meaning.size() > kMaxEntrySourceBytes) {
    note(std::string(where) + ": skipped: its text is longer than " +
         std::to_string(kMaxEntrySourceBytes >> 20) + " MB");
    return;
  }
  if (bytes_ + meaning.size() > kMaxSourceBytes) {  // the reader stops at its next progress
    tooLarge_ = true;
    cancelled_ = true;
    return;
  }
  bytes_ += meaning.size();
  if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < meaning.size()) {
    chunks_.emplace_back();
    chunks_.back().reserve(std::max(kChunk, meaning.size()));
  }
  Held h;
  h.headword = fromUtf8(headword);
  h.chunk = static_cast<uint32_t>(chunks_.size() - 1);
  h.offset = static_cast<uint32_t>(chunks_.back().size());
  h.length = static_cast<uint32_t>(meaning.size());
  h.whereOffset = static_cast<uint32_t>(places_.size());
  h.whereLength = static_cast<uint32_t>(where.size());
  chunks_.back() += meaning;
  places_ += where;
  entries_.push_back(std::move(h));
}

bool Collector::progress(uint64_t done, uint64_t total) {
  if (cancelled_) return false;
  if (progress_ && !progress_(done, total)) cancelled_ = true;
  return !cancelled_;
}

void Collector::note(std::string report) {
  ++outcome_.skipped;
  if (outcome_.reports.size() < kReportLimit) outcome_.reports.push_back(std::move(report));
}

}  // namespace lexora::importers
