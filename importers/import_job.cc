#include "importers/import_job.h"

#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <numeric>

#include "engine/collation.h"
#include "engine/dictionary_builder.h"
#include "engine/file_format.h"
#include "engine/journal.h"
#include "engine/replace_target.h"
#include "importers/dictd_reader.h"
#include "importers/dsl_reader.h"
#include "importers/entry_collector.h"
#include "importers/mdict_reader.h"
#include "importers/resource_store.h"
#include "importers/run_meter.h"
#include "importers/source_file.h"
#include "importers/stardict_reader.h"
#include "importers/tsv_media.h"
#include "importers/tsv_reader.h"
#include "lexicon/derived_indexes.h"
#include "util/standard_utf8.h"

namespace lexora::importers {
namespace {

namespace fs = std::filesystem;

// The most meaning text one dictionary holds.
constexpr uint64_t kMeaningLimit = static_cast<uint64_t>(BLOCK_SLOTS) * BLOCK_CAPACITY;
// A volume is filled to a little less, so that no entry lands past the last block.
constexpr uint64_t kVolumeFill = kMeaningLimit - uint64_t{4} * BLOCK_CAPACITY;

bool endsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string megabytes(uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
  return text;
}

struct TemporaryFiles {
  std::vector<FileSetNames> sets;
  std::string resources;  // the folder that pictures and sounds are copied into
  ~TemporaryFiles() {
    std::error_code ignored;
    for (const FileSetNames& n : sets) {
      fs::remove(n.dataFile, ignored);
      fs::remove(n.wordFile, ignored);
      fs::remove(n.indexFile, ignored);
    }
    if (!resources.empty()) fs::remove_all(resources, ignored);
  }
};

// At most `units` UTF-16 units. A longer text ends with "…" after its last whole word (when
// that keeps at least half of it), and never inside a surrogate pair.
std::u16string cut(std::u16string text, size_t units) {
  if (text.size() <= units || units < 2) return text.substr(0, units);
  size_t end = units - 1;  // room for the ellipsis
  const size_t space = text.find_last_of(u" \t\n", end);
  if (space != std::u16string::npos && space >= units / 2) end = space;
  if (text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
  while (end > 0 && (text[end - 1] == u' ' || text[end - 1] == u'\n')) --end;
  text.resize(end);
  text += u'\u2026';
  return text;
}

// The first (or last) headword of order[begin, end) that has a letter or digit, for a volume's
// title: a headword of punctuation alone names no place in the alphabet.
std::u16string rangeEnd(const std::vector<Collector::Held>& entries,
                        const std::vector<uint32_t>& order, size_t begin, size_t end, bool first) {
  const auto named = [](const std::u16string& w) {
    return std::any_of(w.begin(), w.end(), [](char16_t c) {
      return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
             c >= 0xC0;
    });
  };
  for (size_t k = 0; k < end - begin; ++k) {
    const std::u16string& w = entries[order[first ? begin + k : end - 1 - k]].headword;
    if (named(w)) return w;
  }
  return entries[order[first ? begin : end - 1]].headword;
}

}  // namespace

std::optional<SourceKind> detectSourceKind(const std::string& path) {
  if (endsWith(path, ".ifo")) return SourceKind::Stardict;
  if (endsWith(path, ".dsl") || endsWith(path, ".dsl.dz")) return SourceKind::Dsl;
  if (endsWith(path, ".mdx")) return SourceKind::Mdict;
  if (endsWith(path, ".index") || endsWith(path, ".dict.dz") || endsWith(path, ".dict")) {
    return SourceKind::Dictd;
  }
  if (!checkSourceFile(path).isOk()) return std::nullopt;  // a pipe or device is not read
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
    case SourceKind::Dsl:
      return "DSL";
    case SourceKind::Mdict:
      return "MDict";
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

namespace {

// Reads the source into the collector; false with outcome.status set when it fails.
bool readSource(SourceKind kind, const std::string& source, std::istream* stdinStream,
                const ImportOptions& options, Collector& collector, ResourceStore& resources,
                ImportOutcome& outcome) {
  if (!(source == "-" && stdinStream != nullptr && kind == SourceKind::Tsv)) {
    if (Status s = checkSourceFile(source); !s.isOk()) {
      outcome.status = s;
      return false;
    }
  }
  Status read;
  switch (kind) {
    case SourceKind::Tsv:
      if (source == "-" && stdinStream != nullptr) {
        read = readTsvSource(*stdinStream, "stdin", collector);
      } else if (std::ifstream file(source, std::ios::binary); file) {
        TsvMediaSink media(collector, fileSetNames(source).resourceFolder, resources, outcome.info);
        read = readTsvSource(file, source, media);
      } else {
        read = Status::notFound(source + ": cannot open");
      }
      break;
    case SourceKind::Dictd:
      read = readDictdSource(source, options.collation, collector, outcome.info);
      break;
    case SourceKind::Stardict:
      read = readStardictSource(source, options.collation, collector, outcome.info, &resources);
      break;
    case SourceKind::Dsl:
      read = readDslSource(source, collector, outcome.info, &resources);
      break;
    case SourceKind::Mdict:
      read = readMdictSource(source, collector, outcome.info, &resources);
      break;
  }
  if (!read.isOk()) outcome.status = read;
  return read.isOk();
}

// Ranges of `order` (the entries in the dictionary's order when there is more than one),
// each below the meaning limit.
std::vector<std::pair<size_t, size_t>> planVolumes(std::vector<Collector::Held>& entries,
                                                   uint64_t bytes, uint64_t limit,
                                                   uint32_t collation,
                                                   std::vector<uint32_t>& order) {
  const uint64_t fill = limit == kMeaningLimit ? kVolumeFill : limit;
  order.resize(entries.size());
  std::iota(order.begin(), order.end(), 0u);
  std::vector<std::pair<size_t, size_t>> volumes;
  if (bytes <= limit) {
    volumes.emplace_back(0, order.size());
    return volumes;
  }
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return compareWords(collation, entries[a].headword, entries[b].headword, CompareForm::Full) < 0;
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
  return volumes;
}

// What the written dictionaries are called and say about themselves.
struct Naming {
  std::u16string title;
  std::optional<std::u16string> description;
};

Naming namingOf(const std::string& source, const ImportOptions& options, const SourceInfo& info) {
  Naming n;
  if (options.title) {
    n.title = *options.title;
  } else if (info.title) {
    n.title = fromUtf8(*info.title);
  } else {
    n.title = fromUtf8(fs::path(source).stem().string());
  }
  n.description = options.description;
  if (!n.description && info.description) n.description = fromUtf8(*info.description);
  return n;
}

// What every volume's builder is given besides its entries.
struct VolumePlan {
  const std::vector<uint32_t>& order;  // the entries in the dictionary's order
  const std::vector<std::pair<size_t, size_t>>& volumes;
  const Naming& naming;
  const ImportOptions& options;
  const std::string& dataFile;  // the target, as failures name it
};

// Where volume v's part of the run bar begins (and v + 1's, its end).
uint32_t volumeMark(const VolumePlan& plan, size_t v) {
  const size_t total = plan.order.size();
  const size_t at = v < plan.volumes.size() ? plan.volumes[v].first : total;
  const double share = total == 0 ? 1.0 : double(at) / double(total);
  return static_cast<uint32_t>(RunMeter::kReadEnd +
                               (RunMeter::kVolumesEnd - RunMeter::kReadEnd) * share);
}

// Converts and writes volume v under `temp`, the meter moving through its part of the bar;
// false with outcome.status set when it fails.
bool writeVolume(const VolumePlan& plan, size_t v, const std::string& temp, Collector& collector,
                 RunMeter& meter, ImportOutcome& outcome) {
  std::vector<Collector::Held>& entries = collector.entries();
  const auto [begin, end] = plan.volumes[v];
  const uint32_t from = volumeMark(plan, v);
  const uint32_t to = volumeMark(plan, v + 1);
  const uint32_t converted = from + (to - from) * 15 / 100;
  DictionaryBuilder builder(plan.options.collation);
  if (plan.volumes.size() == 1) {
    builder.setTitle(cut(plan.naming.title, 127));
  } else {
    std::u16string named = plan.naming.title + u", volume " + fromUtf8(std::to_string(v + 1)) +
                           u" of " + fromUtf8(std::to_string(plan.volumes.size())) + u" (" +
                           cut(rangeEnd(entries, plan.order, begin, end, true), 20) + u" \u2013 " +
                           cut(rangeEnd(entries, plan.order, begin, end, false), 20) + u")";
    builder.setTitle(cut(named, 127));
  }
  if (plan.naming.description) builder.setDescription(cut(*plan.naming.description, 255));
  for (size_t k = begin; k < end; ++k) {
    Collector::Held& e = entries[plan.order[k]];
    builder.add(e.headword, fromUtf8(collector.meaningOf(e)));
    // The builder keeps its own copy; free ours as we go.
    std::u16string().swap(e.headword);
    if ((k - begin) % 4096 == 0) {
      static_cast<void>(meter.at(from, converted, double(k - begin) / double(end - begin)));
    }
  }
  if (plan.volumes.size() == 1) {
    collector.releaseMeanings();
#if defined(__GLIBC__)
    // Hand the freed texts back before the builder lays out the whole data file.
    malloc_trim(0);
#endif
  }
  builder.setProgress([&](uint64_t done, uint64_t total) {
    static_cast<void>(meter.at(converted, to, total == 0 ? 1.0 : double(done) / double(total)));
  });
  if (const Status s = builder.finish(temp); !s.isOk()) {
    outcome.status = s.withContext(plan.dataFile + ": ");
    return false;
  }
  for (size_t k = begin; k < end; ++k) {
    const EditResult r = builder.result(k - begin);
    if (r == EditResult::Ok) continue;
    collector.note(std::string(collector.whereOf(entries[plan.order[k]])) +
                   ": skipped: " + editResultName(r));
  }
  outcome.imported += builder.acceptedCount();
  return true;
}

// Writes the entries in the given volumes under temporary names; false when it fails or is
// cancelled (outcome says which).
bool writeVolumes(Collector& collector, const VolumePlan& plan, RunMeter& meter,
                  const ProgressFunction& progress, TemporaryFiles& temporary,
                  std::vector<std::string>& finals, ImportOutcome& outcome) {
  const size_t count = plan.volumes.size();
  // Temporary names in the target's folder, so that the final renames stay on one file system.
  const fs::path target(plan.dataFile);
  for (size_t v = 0; v < count; ++v) {
    fs::path temp =
        target.parent_path() / ("." + target.filename().string() + ".importing-" +
                                std::to_string(::getpid()) + "-" + std::to_string(v + 1) + ".pvm");
    temporary.sets.push_back(fileSetNames(temp.string()));
    finals.push_back(count == 1 ? plan.dataFile
                                : volumeFileName(plan.dataFile, static_cast<unsigned>(v + 1)));
    if (!writeVolume(plan, v, temp.string(), collector, meter, outcome)) return false;
    const bool goOn = !progress || progress(plan.volumes[v].second, plan.order.size());
    if (!goOn || meter.cancelled()) {
      outcome.result = ImportResult::Cancelled;
      return false;
    }
  }
  return true;
}

// Everything is written: moves it into place. Each volume gets its own copy of the pictures
// and sounds; a resource folder of an earlier dictionary of that name goes.
bool moveIntoPlace(TemporaryFiles& temporary, const std::vector<std::string>& finals,
                   bool withResources, bool replaceDictionary, ImportOutcome& outcome) {
  for (size_t v = 0; v < finals.size(); ++v) {
    const FileSetNames from = temporary.sets[v];
    const FileSetNames to = fileSetNames(finals[v]);
    // What is in the way is checked again, and a journal left under the name (which would be
    // applied to the new files) is moved aside.
    std::string aside;
    Status ready = checkReplaceable(finals[v], replaceDictionary);
    if (ready.isOk()) ready = setJournalAside(systemFileSystem(), journalName(finals[v]), aside);
    if (!ready.isOk()) {
      outcome.status = ready;
      return false;
    }
    if (!aside.empty()) {
      outcome.reports.push_back(finals[v] + ": a journal left there was set aside as " + aside);
    }
    std::error_code ec;
    fs::remove_all(to.resourceFolder, ec);
    ec.clear();
    if (withResources) {
      if (v + 1 == finals.size()) {
        fs::rename(temporary.resources, to.resourceFolder, ec);
        if (!ec) temporary.resources.clear();
      } else {
        fs::copy(temporary.resources, to.resourceFolder, fs::copy_options::recursive, ec);
      }
    }
    if (!ec) fs::rename(from.wordFile, to.wordFile, ec);
    if (!ec) fs::rename(from.indexFile, to.indexFile, ec);
    if (!ec) fs::rename(from.dataFile, to.dataFile, ec);
    if (ec) {
      outcome.status = Status::ioError(finals[v] + ": " + ec.message());
      return false;
    }
    outcome.dataFiles.push_back(finals[v]);
  }
  return true;
}

// The size limit the collected entries must keep, or why they cannot be imported.
Status checkCollected(const Collector& collector, const std::string& source,
                      const ImportOptions& options, uint64_t& limit) {
  if (collector.tooLarge()) {
    return Status::invalidArgument(source + ": the entries hold more than " +
                                   std::to_string(kMaxSourceBytes >> 20) +
                                   " MB of text, far more than any dictionary: not imported");
  }
  limit = options.meaningLimit != 0 ? std::min(options.meaningLimit, kMeaningLimit) : kMeaningLimit;
  if (collector.bytes() > limit && !options.split) {
    return Status::invalidArgument(source + ": the entries hold " + megabytes(collector.bytes()) +
                                   " of meaning text, more than one dictionary holds (" +
                                   std::to_string(BLOCK_SLOTS) + " blocks of " +
                                   std::to_string(BLOCK_CAPACITY) + " bytes, " + megabytes(limit) +
                                   "); import it with --split to write numbered volumes");
  }
  return Status::ok();
}

// The derived indexes of the written dictionaries, so that no search or lookup waits for them;
// one that cannot be built is built on first use instead.
void buildIndexes(const ImportOutcome& outcome, RunMeter& meter, const ProgressFunction& progress) {
  const size_t count = outcome.dataFiles.size();
  for (size_t i = 0; i < count; ++i) {
    const auto indexing = [&](uint32_t done, uint32_t total) {
      const double part = (double(i) + (total == 0 ? 1.0 : double(done) / total)) / double(count);
      const bool goOn = meter.at(RunMeter::kVolumesEnd, 1000, part);
      return (!progress || progress(done, total)) && goOn;
    };
    try {
      static_cast<void>(buildDerivedIndexes(outcome.dataFiles[i], indexing));
    } catch (const std::bad_alloc&) {
      // The dictionary is in place: its indexes too are built on first use.
    }
  }
  static_cast<void>(meter.at(RunMeter::kVolumesEnd, 1000, 1.0));
}

ImportOutcome importWhole(SourceKind kind, const std::string& source, std::istream* stdinStream,
                          const std::string& dataFile, const ImportOptions& options,
                          const ProgressFunction& progress) {
  ImportOutcome outcome;
  if (Status s = checkReplaceable(dataFile, options.replaceDictionary); !s.isOk()) {
    outcome.status = s;
    return outcome;
  }
  RunMeter meter(options.runProgress);
  const ProgressFunction reading = [&](uint64_t done, uint64_t total) {
    const bool goOn =
        meter.at(0, RunMeter::kReadEnd, total == 0 ? 0.0 : double(done) / double(total));
    return (!progress || progress(done, total)) && goOn;
  };
  Collector collector(outcome, reading);
  TemporaryFiles temporary;
  const fs::path target(dataFile);
  temporary.resources = (target.parent_path() / ("." + target.filename().string() + ".importing-" +
                                                 std::to_string(::getpid()) + ".res"))
                            .string();
  ResourceStore resources(temporary.resources);
  if (!readSource(kind, source, stdinStream, options, collector, resources, outcome))
    return outcome;
  if (collector.cancelled() && !collector.tooLarge()) {
    outcome.result = ImportResult::Cancelled;
    return outcome;
  }
  uint64_t limit = 0;
  if (Status s = checkCollected(collector, source, options, limit); !s.isOk()) {
    outcome.status = s;
    return outcome;
  }
  std::vector<uint32_t> order;
  const auto volumes =
      planVolumes(collector.entries(), collector.bytes(), limit, options.collation, order);
  const Naming naming = namingOf(source, options, outcome.info);
  const VolumePlan plan{order, volumes, naming, options, dataFile};
  std::vector<std::string> finals;
  if (!writeVolumes(collector, plan, meter, progress, temporary, finals, outcome) ||
      !moveIntoPlace(temporary, finals, resources.count() > 0, options.replaceDictionary,
                     outcome)) {
    return outcome;
  }
  outcome.resources = resources.count();
  outcome.result = ImportResult::Done;
  buildIndexes(outcome, meter, progress);
  return outcome;
}

}  // namespace

ImportOutcome importSource(SourceKind kind, const std::string& source, std::istream* stdinStream,
                           const std::string& dataFile, const ImportOptions& options,
                           const ProgressFunction& progress) {
  try {
    return importWhole(kind, source, stdinStream, dataFile, options, progress);
  } catch (const std::bad_alloc&) {
    ImportOutcome outcome;
    outcome.status =
        Status::ioError(source + ": not enough memory to import it; nothing was written");
    return outcome;
  }
}

}  // namespace lexora::importers
