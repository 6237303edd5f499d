#include "importers/import_job.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>

#include "engine/collation.h"
#include "engine/dictionary_builder.h"
#include "engine/file_format.h"
#include "importers/dictd_reader.h"
#include "importers/standard_utf8.h"
#include "importers/stardict_reader.h"
#include "importers/tsv_reader.h"

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

class Collector : public EntrySink {
 public:
  struct Held {
    std::u16string headword;
    std::string meaning;
    std::string where;
  };

  Collector(ImportOutcome& outcome, const ProgressFunction& progress)
      : outcome_(outcome), progress_(progress) {}

  void add(std::string_view headword, std::string&& meaning, std::string_view where) override {
    bytes_ += meaning.size();
    entries_.push_back({fromUtf8(headword), std::move(meaning), std::string(where)});
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

  std::vector<Held>& entries() { return entries_; }
  uint64_t bytes() const { return bytes_; }
  bool cancelled() const { return cancelled_; }

 private:
  ImportOutcome& outcome_;
  const ProgressFunction& progress_;
  std::vector<Held> entries_;
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
    case SourceKind::Tsv: return "TSV";
    case SourceKind::Dictd: return "dictd";
    case SourceKind::Stardict: return "StarDict";
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
  std::string error;
  bool read = false;
  switch (kind) {
    case SourceKind::Tsv:
      if (source == "-" && stdinStream != nullptr) {
        read = readTsvSource(*stdinStream, "stdin", collector, error);
      } else {
        std::ifstream file(source, std::ios::binary);
        if (!file) {
          error = "cannot open";
        } else {
          read = readTsvSource(file, source, collector, error);
        }
      }
      if (!read) error = (source == "-" ? std::string("stdin") : source) + ": " + error;
      break;
    case SourceKind::Dictd:
      read = readDictdSource(source, options.collation, collector, outcome.info, error);
      break;
    case SourceKind::Stardict:
      read = readStardictSource(source, options.collation, collector, outcome.info, error);
      break;
  }
  if (!read) {
    outcome.error = error;
    return outcome;
  }
  if (collector.cancelled()) {
    outcome.status = ImportOutcome::Status::Cancelled;
    return outcome;
  }

  std::vector<Collector::Held>& entries = collector.entries();
  if (collector.bytes() > kMeaningLimit && !options.split) {
    outcome.error = source + ": the entries hold " + megabytes(collector.bytes()) +
                    " of meaning text, more than one dictionary holds (" +
                    std::to_string(BLOCK_SLOTS) + " blocks of " + std::to_string(BLOCK_CAPACITY) +
                    " bytes, " + megabytes(kMeaningLimit) +
                    "); import it with --split to write numbered volumes";
    return outcome;
  }

  // Volumes: ranges of headwords in the dictionary's order, each below the limit.
  std::vector<uint32_t> order(entries.size());
  std::iota(order.begin(), order.end(), 0u);
  std::vector<std::pair<size_t, size_t>> volumes;
  if (collector.bytes() > kMeaningLimit) {
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
      return compareWords(options.collation, entries[a].headword, entries[b].headword,
                          CompareForm::Full) < 0;
    });
    size_t begin = 0;
    uint64_t filled = 0;
    for (size_t k = 0; k < order.size(); ++k) {
      const uint64_t size = entries[order[k]].meaning.size();
      if (k > begin && filled + size > kVolumeFill) {
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
    fs::path temp = target.parent_path() /
                    ("." + target.filename().string() + ".importing-" +
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
      builder.add(e.headword, fromUtf8(e.meaning));
      // The builder keeps its own copy; free ours as we go.
      std::string().swap(e.meaning);
      std::u16string().swap(e.headword);
    }
    if (!builder.finish(temp.string())) {
      outcome.error = dataFile + ": " + builder.error();
      return outcome;
    }
    for (size_t k = begin; k < end; ++k) {
      const EditResult r = builder.result(k - begin);
      if (r == EditResult::Ok) continue;
      collector.note(entries[order[k]].where + ": skipped: " + editResultName(r));
    }
    outcome.imported += builder.acceptedCount();
    if (!collector.progress(end, entries.size()) && v + 1 < volumes.size()) {
      outcome.status = ImportOutcome::Status::Cancelled;
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
      outcome.error = finals[v] + ": " + ec.message();
      return outcome;
    }
    outcome.dataFiles.push_back(finals[v]);
  }
  outcome.status = ImportOutcome::Status::Done;
  return outcome;
}

}  // namespace lexora::importers
