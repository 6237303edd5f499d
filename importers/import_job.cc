#include "importers/import_job.h"

#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>

#include "engine/collation.h"
#include "engine/dictionary_builder.h"
#include "engine/file_format.h"
#include "importers/dictd_reader.h"
#include "importers/stardict_reader.h"
#include "importers/tsv_reader.h"
#include "lexicon/derived_indexes.h"
#include "util/standard_utf8.h"

namespace lexora::importers {
namespace {

namespace fs = std::filesystem;

// The most meaning text one dictionary holds.
constexpr uint64_t kMeaningLimit = static_cast<uint64_t>(BLOCK_SLOTS) * BLOCK_CAPACITY;
// A volume is filled to a little less, so that no entry lands past the last block.
constexpr uint64_t kVolumeFill = kMeaningLimit - 4 * BLOCK_CAPACITY;

bool endsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string megabytes(uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
  return text;
}

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

  void add(std::string_view headword, std::string&& meaning, std::string_view where) override {
    constexpr size_t kChunk = 8u << 20;
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
  void skip(std::string_view report) override { note(std::string(report)); }
  bool progress(uint64_t done, uint64_t total) override {
    if (cancelled_) return false;
    if (progress_ && !progress_(done, total)) cancelled_ = true;
    return !cancelled_;
  }

  void note(std::string report) {
    ++outcome_.skipped;
    if (outcome_.reports.size() < kReportLimit) outcome_.reports.push_back(std::move(report));
  }

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

 private:
  ImportOutcome& outcome_;
  const ProgressFunction& progress_;
  std::vector<Held> entries_;
  std::vector<std::string> chunks_;
  std::string places_;
  uint64_t bytes_ = 0;
  bool cancelled_ = false;
};

struct TemporaryFiles {
  std::vector<FileSetNames> sets;
  ~TemporaryFiles() {
    std::error_code ignored;
    for (const FileSetNames& n : sets) {
      fs::remove(n.dataFile, ignored);
      fs::remove(n.wordFile, ignored);
      fs::remove(n.indexFile, ignored);
    }
  }
};

std::u16string cut(std::u16string text, size_t units) {
  if (text.size() > units) text.resize(units);
  return text;
}

}  // namespace

std::optional<SourceKind> detectSourceKind(const std::string& path) {
  if (endsWith(path, ".ifo")) return SourceKind::Stardict;
  if (endsWith(path, ".index") || endsWith(path, ".dict.dz") || endsWith(path, ".dict")) {
    return SourceKind::Dictd;
  }
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (in && std::getline(in, line) && line.find('\t') != std::string::npos) return SourceKind::Tsv;
  return std::nullopt;
}

const char* sourceKindName(SourceKind kind) {
  switch (kind) {
    case SourceKind::Tsv:
      return "TSV";
    case SourceKind::Dictd:
      return "dictd";
    case SourceKind::Stardict:
      return "StarDict";
  }
  return "";
}

std::string volumeFileName(const std::string& dataFile, unsigned volume) {
  const fs::path p(dataFile);
  fs::path name = p.stem();
  name += "-" + std::to_string(volume);
  name += p.extension();
  return (p.parent_path() / name).string();
}

ImportOutcome importSource(SourceKind kind, const std::string& source, std::istream* stdinStream,
                           const std::string& dataFile, const ImportOptions& options,
                           const ProgressFunction& progress) {
  ImportOutcome outcome;
  Collector collector(outcome, progress);
  Status read;
  switch (kind) {
    case SourceKind::Tsv:
      if (source == "-" && stdinStream != nullptr) {
        read = readTsvSource(*stdinStream, "stdin", collector);
      } else if (std::ifstream file(source, std::ios::binary); file) {
        read = readTsvSource(file, source, collector);
      } else {
        read = Status::notFound(source + ": cannot open");
      }
      break;
    case SourceKind::Dictd:
      read = readDictdSource(source, options.collation, collector, outcome.info);
      break;
    case SourceKind::Stardict:
      read = readStardictSource(source, options.collation, collector, outcome.info);
      break;
  }
  if (!read.isOk()) {
    outcome.status = read;
    return outcome;
  }
  if (collector.cancelled()) {
    outcome.result = ImportResult::Cancelled;
    return outcome;
  }

  std::vector<Collector::Held>& entries = collector.entries();
  const uint64_t limit =
      options.meaningLimit != 0 ? std::min(options.meaningLimit, kMeaningLimit) : kMeaningLimit;
  const uint64_t fill = limit == kMeaningLimit ? kVolumeFill : limit;
  if (collector.bytes() > limit && !options.split) {
    outcome.status = Status::invalidArgument(
        source + ": the entries hold " + megabytes(collector.bytes()) +
        " of meaning text, more than one dictionary holds (" + std::to_string(BLOCK_SLOTS) +
        " blocks of " + std::to_string(BLOCK_CAPACITY) + " bytes, " + megabytes(limit) +
        "); import it with --split to write numbered volumes");
    return outcome;
  }

  // Volumes: ranges of headwords in the dictionary's order, each below the limit.
  std::vector<uint32_t> order(entries.size());
  std::iota(order.begin(), order.end(), 0u);
  std::vector<std::pair<size_t, size_t>> volumes;
  if (collector.bytes() > limit) {
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
      return compareWords(options.collation, entries[a].headword, entries[b].headword,
                          CompareForm::Full) < 0;
    });
    size_t begin = 0;
    uint64_t filled = 0;
    for (size_t k = 0; k < order.size(); ++k) {
      const uint64_t size = entries[order[k]].length;
      if (k > begin && filled + size > fill) {
        volumes.emplace_back(begin, k);
        begin = k;
        filled = 0;
      }
      filled += size;
    }
    volumes.emplace_back(begin, order.size());
  } else {
    volumes.emplace_back(0, order.size());
  }

  std::u16string title;
  if (options.title) {
    title = *options.title;
  } else if (outcome.info.title) {
    title = fromUtf8(*outcome.info.title);
  } else {
    title = fromUtf8(fs::path(source).stem().string());
  }
  std::optional<std::u16string> description = options.description;
  if (!description && outcome.info.description) description = fromUtf8(*outcome.info.description);

  // Temporary names in the target's folder, so that the final renames stay on one file system.
  TemporaryFiles temporary;
  const fs::path target(dataFile);
  std::vector<std::string> finals;
  for (size_t v = 0; v < volumes.size(); ++v) {
    const std::string finalName = volumes.size() == 1 ? dataFile : volumeFileName(dataFile, v + 1);
    fs::path temp =
        target.parent_path() / ("." + target.filename().string() + ".importing-" +
                                std::to_string(::getpid()) + "-" + std::to_string(v + 1) + ".pvm");
    temporary.sets.push_back(fileSetNames(temp.string()));
    finals.push_back(finalName);

    const auto [begin, end] = volumes[v];
    DictionaryBuilder builder(options.collation);
    if (volumes.size() == 1) {
      builder.setTitle(cut(title, 127));
    } else {
      std::u16string named = title + u" " + fromUtf8(std::to_string(v + 1)) + u" (" +
                             cut(entries[order[begin]].headword, 20) + u" \u2013 " +
                             cut(entries[order[end - 1]].headword, 20) + u")";
      builder.setTitle(cut(named, 127));
    }
    if (description) builder.setDescription(cut(*description, 255));
    for (size_t k = begin; k < end; ++k) {
      Collector::Held& e = entries[order[k]];
      builder.add(e.headword, fromUtf8(collector.meaningOf(e)));
      // The builder keeps its own copy; free ours as we go.
      std::u16string().swap(e.headword);
    }
    if (volumes.size() == 1) {
      collector.releaseMeanings();
#if defined(__GLIBC__)
      // Hand the freed texts back before the builder lays out the whole data file.
      malloc_trim(0);
#endif
    }
    if (const Status s = builder.finish(temp.string()); !s.isOk()) {
      outcome.status = s.withContext(dataFile + ": ");
      return outcome;
    }
    for (size_t k = begin; k < end; ++k) {
      const EditResult r = builder.result(k - begin);
      if (r == EditResult::Ok) continue;
      collector.note(std::string(collector.whereOf(entries[order[k]])) +
                     ": skipped: " + editResultName(r));
    }
    outcome.imported += builder.acceptedCount();
    if (!collector.progress(end, entries.size())) {
      outcome.result = ImportResult::Cancelled;
      return outcome;
    }
  }

  // Everything is written: move it into place.
  for (size_t v = 0; v < finals.size(); ++v) {
    const FileSetNames from = temporary.sets[v];
    const FileSetNames to = fileSetNames(finals[v]);
    std::error_code ec;
    fs::rename(from.wordFile, to.wordFile, ec);
    if (!ec) fs::rename(from.indexFile, to.indexFile, ec);
    if (!ec) fs::rename(from.dataFile, to.dataFile, ec);
    if (ec) {
      outcome.status = Status::ioError(finals[v] + ": " + ec.message());
      return outcome;
    }
    outcome.dataFiles.push_back(finals[v]);
  }
  outcome.result = ImportResult::Done;
  // The derived indexes now, so that no search or lookup waits for them; one that cannot be
  // built is built on first use instead.
  const auto indexing = [&](uint32_t done, uint32_t total) {
    return !progress || progress(done, total);
  };
  for (const std::string& written : outcome.dataFiles) buildDerivedIndexes(written, indexing);
  return outcome;
}

}  // namespace lexora::importers
