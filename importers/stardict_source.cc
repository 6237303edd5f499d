// Reading a whole StarDict file set: the .ifo, the records of the .idx, the merging of equal
// headwords, the conversion of their data (on two threads), and the synonyms of the .syn.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <thread>

#include "engine/collation.h"
#include "engine/file_format.h"
#include "importers/markup_text.h"
#include "importers/media_archive.h"
#include "importers/resource_store.h"
#include "importers/source_file.h"
#include "importers/stardict_reader.h"
#include "importers/xml_library.h"
#include "util/standard_utf8.h"

namespace lexora::importers {
namespace {

// The pictures and sounds in res/ beside the .ifo. The conversion threads only note the files
// that entries name (each thread its own list); copyNamed copies them between batches.
class StardictMedia {
 public:
  StardictMedia(const std::string& ifoFile, ResourceStore* store)
      : store_(store),
        folder_((std::filesystem::path(ifoFile).parent_path() / "res").string()),
        files_(std::string(), folder_) {}

  MediaResolver resolver(int slot) {
    if (store_ == nullptr || !files_.exists()) return {};
    return [this, slot](std::string_view name) {
      const std::string stored = storedResourceName(name);
      std::error_code ec;
      if (stored.empty() || name.find("..") != std::string_view::npos ||
          !std::filesystem::is_regular_file(folder_ + "/" + std::string(name), ec))
        return std::string();
      named_[slot].emplace_back(name);
      return ResourceStore::mediaLine(name);
    };
  }

  // Copies the files noted since the last call; returns how many could not be copied.
  uint64_t copyNamed(EntrySink& sink) {
    uint64_t failed = 0;
    std::string bytes;
    for (std::vector<std::string>& list : named_) {
      for (const std::string& name : list) {
        if (store_->has(name)) continue;
        Status s = files_.read(name, bytes) ? store_->put(name, bytes)
                                            : Status::notFound("cannot read it");
        if (!s.isOk()) {
          sink.skip(folder_ + "/" + name + ": skipped: " + s.message());
          ++failed;
        }
      }
      list.clear();
    }
    return failed;
  }

 private:
  ResourceStore* store_;
  std::string folder_;
  MediaArchive files_;
  std::vector<std::string> named_[2];
};

uint64_t readBigEndian(const char* bytes, unsigned count) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes);
  uint64_t v = 0;
  for (unsigned i = 0; i < count; ++i) v = (v << 8) | p[i];
  return v;
}

struct Record {
  std::string_view word;
  uint64_t offset = 0;
  uint64_t size = 0;
  uint64_t number = 0;  // from 1, as the .idx counts them
};

// The files of one dictionary, read whole.
struct StardictSource {
  StardictIfo ifo;
  std::string idxFile, dictFile, synFile;
  std::string idx, dict, syn;
  std::vector<Record> records;
  std::vector<std::u16string> words;              // the records' headwords
  std::vector<uint32_t> order;                    // records by headword
  std::vector<std::pair<size_t, size_t>> groups;  // equal headwords: [begin, end) in order
};

Status readFiles(const std::string& ifoFile, StardictSource& source) {
  std::string ifoText;
  {
    std::ifstream in(ifoFile, std::ios::binary);
    if (!in) return Status::notFound(ifoFile + ": cannot open");
    ifoText.assign(std::istreambuf_iterator<char>(in), {});
  }
  if (Status s = parseStardictIfo(ifoText, source.ifo); !s.isOk()) {
    return Status::invalidArgument(ifoFile + ": " + s.message());
  }
  const std::string base = ifoFile.substr(0, ifoFile.size() - (ifoFile.size() >= 4 ? 4 : 0));
  auto firstOf = [&](std::initializer_list<const char*> endings) -> std::string {
    std::error_code ec;
    for (const char* e : endings) {
      if (std::filesystem::is_regular_file(base + e, ec)) return base + e;
    }
    return {};
  };
  source.idxFile = firstOf({".idx", ".idx.gz"});
  source.dictFile = firstOf({".dict", ".dict.dz"});
  source.synFile = firstOf({".syn", ".syn.gz"});
  if (source.idxFile.empty())
    return Status::notFound(ifoFile + ": no .idx or .idx.gz file beside it");
  if (source.dictFile.empty())
    return Status::notFound(ifoFile + ": no .dict or .dict.dz file beside it");
  if (Status s = readSourceFile(source.idxFile, source.idx); !s.isOk()) return s;
  if (Status s = readSourceFile(source.dictFile, source.dict); !s.isOk()) return s;
  if (!source.synFile.empty()) return readSourceFile(source.synFile, source.syn);
  return Status::ok();
}

// The dictionary's description: its lines, which the .ifo writes as "<br>".
std::string descriptionOf(const std::string& text) {
  std::string d = text;
  for (size_t at; (at = d.find("<br>")) != std::string::npos;) d.replace(at, 4, "\n");
  return d;
}

void readRecords(StardictSource& source, EntrySink& sink) {
  const std::string& idx = source.idx;
  if (idx.size() != source.ifo.idxFileSize) {
    sink.skip(source.idxFile + ": holds " + std::to_string(idx.size()) + " bytes, the .ifo says " +
              std::to_string(source.ifo.idxFileSize) + "; reading what is there");
  }
  source.records.reserve(std::min<uint64_t>(source.ifo.wordCount, idx.size() / 9 + 1));
  const unsigned offsetBytes = source.ifo.offsetBits / 8;
  uint64_t number = 0;
  for (size_t at = 0; at < idx.size();) {
    const size_t nul = idx.find('\0', at);
    if (nul == std::string::npos || idx.size() - nul - 1 < offsetBytes + 4) {
      sink.skip(source.idxFile + ": record " + std::to_string(number + 1) +
                ": skipped: cut short at the end of the file");
      break;
    }
    Record r;
    r.word = std::string_view(idx).substr(at, nul - at);
    r.offset = readBigEndian(idx.data() + nul + 1, offsetBytes);
    r.size = readBigEndian(idx.data() + nul + 1 + offsetBytes, 4);
    r.number = ++number;
    at = nul + 1 + offsetBytes + 4;
    if (r.offset > source.dict.size() || r.size > source.dict.size() - r.offset) {
      sink.skip(source.idxFile + ": record " + std::to_string(r.number) + " ('" +
                std::string(r.word) + "'): skipped: its data lies past the end of " +
                source.dictFile);
      continue;
    }
    if (r.size > kMaxEntrySourceBytes) {
      sink.skip(source.idxFile + ": record " + std::to_string(r.number) + " ('" +
                std::string(r.word) + "'): skipped: its data is longer than " +
                std::to_string(kMaxEntrySourceBytes >> 20) + " MB");
      continue;
    }
    source.records.push_back(r);
  }
  if (source.records.size() != source.ifo.wordCount) {
    sink.skip(source.idxFile + ": holds " + std::to_string(source.records.size()) +
              " usable records, the .ifo says " + std::to_string(source.ifo.wordCount));
  }
}

// Equal headwords (under the collation) become one entry, in the order of their first record.
void groupRecords(StardictSource& source, uint32_t collation) {
  const std::vector<Record>& records = source.records;
  std::vector<std::u16string>& words = source.words;
  words.resize(records.size());
  for (size_t i = 0; i < records.size(); ++i) words[i] = fromUtf8(records[i].word);
  std::vector<uint32_t>& order = source.order;
  order.resize(records.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return compareWords(collation, words[a], words[b], CompareForm::Full) < 0;
  });
  for (size_t g = 0; g < order.size();) {
    size_t end = g + 1;
    while (!words[order[g]].empty() && end < order.size() &&
           compareWords(collation, words[order[g]], words[order[end]], CompareForm::Full) == 0) {
      ++end;
    }
    source.groups.emplace_back(g, end);
    g = end;
  }
  std::sort(source.groups.begin(), source.groups.end(),
            [&](const auto& a, const auto& b) { return order[a.first] < order[b.first]; });
}

// One entry from the records of a group; reports go to `notes`.
std::string convertGroup(const StardictSource& source, size_t group,
                         std::vector<std::string>& notes, uint64_t& resources,
                         const MediaResolver& resolve) {
  const auto [g, end] = source.groups[group];
  const Record& lead = source.records[source.order[g]];
  std::string meaning;
  for (size_t k = g; k < end; ++k) {
    const Record& r = source.records[source.order[k]];
    std::string one =
        stardictEntryMarkup(lead.word, std::string_view(source.dict).substr(r.offset, r.size),
                            source.ifo.sameTypeSequence, resources, resolve);
    if (k == g) {
      meaning = std::move(one);
      continue;
    }
    // The headword line once; a blank line between the records' texts.
    const size_t lineEnd = one.find("\r\n");
    if (lineEnd == std::string::npos) continue;
    if (meaning.size() + 2 + one.size() - lineEnd > MAX_MEANING_BYTES) {
      notes.push_back(source.idxFile + ": record " + std::to_string(r.number) +
                      ": skipped: merging it into '" + std::string(lead.word) +
                      "' would make the meaning too long");
      continue;
    }
    meaning += "\r\n";
    meaning.append(one, lineEnd, std::string::npos);
  }
  return meaning;
}

// The entries are converted in batches, each batch split between this thread and a helper;
// they reach the sink in order. libxml2 parses on both, each thread with its own context.
// False when the import is cancelled.
bool convertEntries(const StardictSource& source, uint64_t total, EntrySink& sink, SourceInfo& info,
                    StardictMedia& media) {
  static_cast<void>(xmlLibrary());  // sets up its parser before the threads parse
  constexpr size_t kBatch = 4096;
  std::vector<std::string> converted;
  for (size_t first = 0; first < source.groups.size(); first += kBatch) {
    const size_t last = std::min(source.groups.size(), first + kBatch);
    converted.assign(last - first, std::string());
    std::vector<std::string> notes[2];
    uint64_t resources[2] = {0, 0};
    auto work = [&](size_t from, size_t to, int slot) {
      const MediaResolver resolve = media.resolver(slot);
      for (size_t i = from; i < to; ++i)
        converted[i - first] = convertGroup(source, i, notes[slot], resources[slot], resolve);
    };
    const size_t middle = first + (last - first) / 2;
    std::thread helper(work, middle, last, 1);
    work(first, middle, 0);
    helper.join();
    for (const auto& list : notes) {
      for (const std::string& note : list) sink.skip(note);
    }
    info.resourcesSkipped += resources[0] + resources[1] + media.copyNamed(sink);
    for (size_t i = first; i < last; ++i) {
      const Record& lead = source.records[source.order[source.groups[i].first]];
      sink.add(lead.word, std::move(converted[i - first]),
               source.idxFile + ": record " + std::to_string(lead.number));
    }
    if (!sink.progress(last, total)) return false;
  }
  return true;
}

// Synonyms: each leads to its main word with a link that follows it. False when cancelled.
bool addSynonyms(const StardictSource& source, uint32_t collation, uint64_t total,
                 EntrySink& sink) {
  const std::string& syn = source.syn;
  uint64_t done = source.groups.size();
  uint64_t number = 0;
  for (size_t at = 0; at < syn.size();) {
    const size_t nul = syn.find('\0', at);
    ++number;
    const std::string where = source.synFile + ": record " + std::to_string(number);
    if (nul == std::string::npos || syn.size() - nul - 1 < 4) {
      sink.skip(where + ": skipped: cut short at the end of the file");
      break;
    }
    const std::string_view word = std::string_view(syn).substr(at, nul - at);
    const uint64_t target = readBigEndian(syn.data() + nul + 1, 4);
    at = nul + 5;
    // The record numbers of the .idx count from 0, whatever was skipped.
    const auto main = std::lower_bound(source.records.begin(), source.records.end(), target + 1,
                                       [](const Record& r, uint64_t n) { return r.number < n; });
    if (main == source.records.end() || main->number != target + 1) {
      sink.skip(where + ": skipped: it names index record " + std::to_string(target) +
                ", which does not exist");
      continue;
    }
    // A synonym that equals its main word under the collation adds nothing.
    const std::u16string& mainWord = source.words[main - source.records.begin()];
    if (compareWords(collation, fromUtf8(word), mainWord, CompareForm::Full) == 0) continue;
    std::string meaning = "@";
    appendMarkupText(meaning, word, MarkupPlace::Headword);
    meaning += "\r\n- See ";
    appendLinkWord(meaning, main->word);
    sink.add(word, std::move(meaning), where);
    if (++done % 2048 == 0 && !sink.progress(done, total)) return false;
  }
  return true;
}

}  // namespace

Status readStardictSource(const std::string& ifoFile, uint32_t collation, EntrySink& sink,
                          SourceInfo& info, ResourceStore* resources) {
  StardictSource source;
  if (Status s = readFiles(ifoFile, source); !s.isOk()) return s;
  info.title = source.ifo.bookname;
  if (!source.ifo.description.empty()) info.description = descriptionOf(source.ifo.description);
  readRecords(source, sink);
  groupRecords(source, collation);
  const uint64_t total = source.groups.size() + source.ifo.synWordCount;
  StardictMedia media(ifoFile, resources);
  if (!convertEntries(source, total, sink, info, media)) return Status::ok();
  if (!addSynonyms(source, collation, total, sink)) return Status::ok();
  sink.progress(total, total);
  const std::string& types = source.ifo.sameTypeSequence;
  info.shape = types.empty() ? "mixed fields" : "fields " + types;
  return Status::ok();
}

}  // namespace lexora::importers
