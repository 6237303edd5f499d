#include "importers/stardict_reader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <thread>

#include "engine/collation.h"
#include "engine/file_format.h"
#include "importers/markup_from_tags.h"
#include "importers/source_file.h"
#include "importers/source_outline.h"
#include "util/standard_utf8.h"

#include <libxml/parser.h>

namespace lexora::importers {
namespace {

namespace fs = std::filesystem;

constexpr char kIfoMagic[] = "StarDict's dict ifo file";

bool fileExists(const std::string& name) {
  std::error_code ec;
  return fs::is_regular_file(name, ec);
}

std::optional<uint64_t> parseCount(std::string_view text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  return v;
}

uint64_t readBigEndian(const unsigned char* p, unsigned bytes) {
  uint64_t v = 0;
  for (unsigned i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  return v;
}

bool isValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

std::string latin1ToUtf8(std::string_view s) {
  std::string out;
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Adds one field of type `type` to the outline.
void readField(char type, std::string_view content, SourceOutline& outline, uint64_t& resources) {
  switch (type) {
    case 't':
      outline.setPronunciation(content);
      break;
    case 'y':
      if (!outline.hasPronunciation()) {
        outline.setPronunciation(content);
      } else {
        readPlainText(content, outline);
      }
      break;
    case 'm':
    case 'w':
    case 'n':
      readPlainText(content, outline);
      break;
    case 'l':
      if (isValidUtf8(content)) {
        readPlainText(content, outline);
      } else {
        readPlainText(latin1ToUtf8(content), outline);
      }
      break;
    case 'g':
      readTagged(content, TagDialect::Pango, outline);
      break;
    case 'h':
    case 'k':
      readTagged(content, TagDialect::Html, outline);
      break;
    case 'x':
      readTagged(content, TagDialect::Xdxf, outline);
      break;
    case 'r': {
      // One resource file per line.
      size_t start = 0;
      while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string_view::npos) end = content.size();
        if (end > start) ++resources;
        start = end + 1;
      }
      break;
    }
    default:
      if (std::isupper(static_cast<unsigned char>(type))) {
        ++resources;  // pictures, sounds and other binary data
      } else if (isValidUtf8(content)) {
        readPlainText(content, outline);  // an unknown text field
      }
      break;
  }
}

}  // namespace

Status parseStardictIfo(std::string_view text, StardictIfo& ifo) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  if (!lines.empty() && lines[0].rfind("\xEF\xBB\xBF", 0) == 0) lines[0].remove_prefix(3);
  if (lines.empty() || lines[0] != kIfoMagic) {
    return Status::invalidArgument("not a StarDict .ifo file (its first line is not \"" +
                                   std::string(kIfoMagic) + "\")");
  }
  bool haveWordCount = false;
  bool haveIdxSize = false;
  bool haveBookname = false;
  std::string bits;
  for (size_t i = 1; i < lines.size(); ++i) {
    const size_t eq = lines[i].find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = lines[i].substr(0, eq);
    const std::string_view value = lines[i].substr(eq + 1);
    if (key == "version") ifo.version = std::string(value);
    if (key == "bookname") {
      ifo.bookname = std::string(value);
      haveBookname = true;
    }
    if (key == "description") ifo.description = std::string(value);
    if (key == "sametypesequence") ifo.sameTypeSequence = std::string(value);
    if (key == "idxoffsetbits") bits = std::string(value);
    if (key == "wordcount" || key == "synwordcount" || key == "idxfilesize") {
      const auto n = parseCount(value);
      if (!n) {
        return Status::invalidArgument("the value of " + std::string(key) + " is not a number");
      }
      if (key == "wordcount") {
        ifo.wordCount = *n;
        haveWordCount = true;
      } else if (key == "synwordcount") {
        ifo.synWordCount = *n;
      } else {
        ifo.idxFileSize = *n;
        haveIdxSize = true;
      }
    }
  }
  if (ifo.version != "2.4.2" && ifo.version != "3.0.0") {
    return Status::invalidArgument("version " +
                                   (ifo.version.empty() ? std::string("(none)") : ifo.version) +
                                   " is not one this program reads (2.4.2 or 3.0.0)");
  }
  if (!haveBookname || !haveWordCount || !haveIdxSize) {
    return Status::invalidArgument("bookname, wordcount or idxfilesize is missing");
  }
  if (!bits.empty()) {
    if (bits == "64" && ifo.version == "3.0.0") {
      ifo.offsetBits = 64;
    } else if (bits != "32") {
      return Status::invalidArgument("idxoffsetbits=" + bits +
                                     " is not 32, or 64 with version 3.0.0");
    }
  }
  return Status::ok();
}

std::string stardictEntryMarkup(std::string_view headword, std::string_view data,
                                const std::string& sameTypeSequence, uint64_t& resources) {
  SourceOutline outline;
  size_t at = 0;
  // One field: a NUL-terminated string for a lower-case type, a 32-bit size and bytes for an
  // upper-case one; the last field of a same-type sequence runs to the end of the data.
  auto field = [&](char type, bool last, std::string_view& content) {
    if (last) {
      content = data.substr(at);
      at = data.size();
      return true;
    }
    if (std::isupper(static_cast<unsigned char>(type))) {
      if (data.size() - at < 4) return false;
      const uint64_t size =
          readBigEndian(reinterpret_cast<const unsigned char*>(data.data()) + at, 4);
      at += 4;
      if (size > data.size() - at) return false;
      content = data.substr(at, size);
      at += size;
      return true;
    }
    const size_t nul = data.find('\0', at);
    const size_t end = nul == std::string_view::npos ? data.size() : nul;
    content = data.substr(at, end - at);
    at = nul == std::string_view::npos ? data.size() : nul + 1;
    return true;
  };
  std::string_view content;
  if (!sameTypeSequence.empty()) {
    for (size_t i = 0; i < sameTypeSequence.size() && at <= data.size(); ++i) {
      const bool last = i + 1 == sameTypeSequence.size();
      if (!field(sameTypeSequence[i], last, content)) break;
      readField(sameTypeSequence[i], content, outline, resources);
      outline.endParagraph();
    }
  } else {
    while (at < data.size()) {
      const char type = data[at++];
      if (!field(type, false, content)) break;
      readField(type, content, outline, resources);
      outline.endParagraph();
    }
  }
  return outline.markupOf(headword);
}

Status readStardictSource(const std::string& ifoFile, uint32_t collation, EntrySink& sink,
                          SourceInfo& info) {
  std::string ifoText;
  {
    std::ifstream in(ifoFile, std::ios::binary);
    if (!in) return Status::notFound(ifoFile + ": cannot open");
    ifoText.assign(std::istreambuf_iterator<char>(in), {});
  }
  StardictIfo ifo;
  if (Status s = parseStardictIfo(ifoText, ifo); !s.isOk()) {
    return Status::invalidArgument(ifoFile + ": " + s.message());
  }
  std::string base = ifoFile.substr(0, ifoFile.size() - (ifoFile.size() >= 4 ? 4 : 0));
  auto firstOf = [&](std::initializer_list<const char*> endings) -> std::string {
    for (const char* e : endings) {
      if (fileExists(base + e)) return base + e;
    }
    return {};
  };
  const std::string idxFile = firstOf({".idx", ".idx.gz"});
  const std::string dictFile = firstOf({".dict", ".dict.dz"});
  const std::string synFile = firstOf({".syn", ".syn.gz"});
  if (idxFile.empty()) return Status::notFound(ifoFile + ": no .idx or .idx.gz file beside it");
  if (dictFile.empty()) return Status::notFound(ifoFile + ": no .dict or .dict.dz file beside it");
  std::string idx, dict, syn;
  if (Status s = readSourceFile(idxFile, idx); !s.isOk()) return s;
  if (Status s = readSourceFile(dictFile, dict); !s.isOk()) return s;
  if (!synFile.empty()) {
    if (Status s = readSourceFile(synFile, syn); !s.isOk()) return s;
  }
  info.title = ifo.bookname;
  if (!ifo.description.empty()) {
    std::string d = ifo.description;
    for (size_t at; (at = d.find("<br>")) != std::string::npos;) d.replace(at, 4, " ");
    info.description = d;
  }
  if (idx.size() != ifo.idxFileSize) {
    sink.skip(idxFile + ": holds " + std::to_string(idx.size()) + " bytes, the .ifo says " +
              std::to_string(ifo.idxFileSize) + "; reading what is there");
  }

  struct Record {
    std::string_view word;
    uint64_t offset = 0;
    uint64_t size = 0;
    uint64_t number = 0;
  };
  std::vector<Record> records;
  records.reserve(std::min<uint64_t>(ifo.wordCount, idx.size() / 9 + 1));
  const unsigned offsetBytes = ifo.offsetBits / 8;
  size_t at = 0;
  while (at < idx.size()) {
    const size_t nul = idx.find('\0', at);
    if (nul == std::string::npos || idx.size() - nul - 1 < offsetBytes + 4) {
      sink.skip(idxFile + ": record " + std::to_string(records.size() + 1) +
                ": skipped: cut short at the end of the file");
      break;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(idx.data()) + nul + 1;
    Record r;
    r.word = std::string_view(idx).substr(at, nul - at);
    r.offset = readBigEndian(p, offsetBytes);
    r.size = readBigEndian(p + offsetBytes, 4);
    r.number = records.size() + 1;
    at = nul + 1 + offsetBytes + 4;
    if (r.offset > dict.size() || r.size > dict.size() - r.offset) {
      sink.skip(idxFile + ": record " + std::to_string(r.number) + " ('" + std::string(r.word) +
                "'): skipped: its data lies past the end of " + dictFile);
      continue;
    }
    if (r.size > kMaxEntrySourceBytes) {
      sink.skip(idxFile + ": record " + std::to_string(r.number) + " ('" + std::string(r.word) +
                "'): skipped: its data is longer than " +
                std::to_string(kMaxEntrySourceBytes >> 20) + " MB");
      continue;
    }
    records.push_back(r);
  }
  if (records.size() != ifo.wordCount) {
    sink.skip(idxFile + ": holds " + std::to_string(records.size()) +
              " usable records, the .ifo says " + std::to_string(ifo.wordCount));
  }

  // Equal headwords (under the collation) become one entry, in the order of their first record.
  std::vector<std::u16string> words(records.size());
  for (size_t i = 0; i < records.size(); ++i) words[i] = fromUtf8(records[i].word);
  std::vector<uint32_t> order(records.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return compareWords(collation, words[a], words[b], CompareForm::Full) < 0;
  });
  std::vector<std::pair<size_t, size_t>> groups;
  for (size_t g = 0; g < order.size();) {
    size_t end = g + 1;
    while (!words[order[g]].empty() && end < order.size() &&
           compareWords(collation, words[order[g]], words[order[end]], CompareForm::Full) == 0) {
      ++end;
    }
    groups.emplace_back(g, end);
    g = end;
  }
  std::sort(groups.begin(), groups.end(),
            [&](const auto& a, const auto& b) { return order[a.first] < order[b.first]; });

  const uint64_t total = groups.size() + ifo.synWordCount;
  uint64_t done = 0;
  // One entry from the records of a group; reports go to `notes`.
  auto convert = [&](size_t g, size_t end, std::vector<std::string>& notes, uint64_t& resources) {
    const Record& lead = records[order[g]];
    std::string meaning;
    for (size_t k = g; k < end; ++k) {
      const Record& r = records[order[k]];
      std::string one =
          stardictEntryMarkup(lead.word, std::string_view(dict).substr(r.offset, r.size),
                              ifo.sameTypeSequence, resources);
      if (k == g) {
        meaning = std::move(one);
        continue;
      }
      // The headword line once; a blank line between the records' texts.
      const size_t lineEnd = one.find("\r\n");
      if (lineEnd == std::string::npos) continue;
      if (meaning.size() + 2 + one.size() - lineEnd > MAX_MEANING_BYTES) {
        notes.push_back(idxFile + ": record " + std::to_string(r.number) +
                        ": skipped: merging it into '" + std::string(lead.word) +
                        "' would make the meaning too long");
        continue;
      }
      meaning += "\r\n";
      meaning.append(one, lineEnd, std::string::npos);
    }
    return meaning;
  };
  // The entries are converted in batches, each batch split between this thread and a helper;
  // they reach the sink in order. libxml2 parses on both, each thread with its own context.
  xmlInitParser();
  constexpr size_t kBatch = 4096;
  std::vector<std::string> converted;
  for (size_t first = 0; first < groups.size(); first += kBatch) {
    const size_t last = std::min(groups.size(), first + kBatch);
    converted.assign(last - first, std::string());
    std::vector<std::string> notes[2];
    uint64_t resources[2] = {0, 0};
    auto work = [&](size_t from, size_t to, int slot) {
      for (size_t i = from; i < to; ++i) {
        converted[i - first] =
            convert(groups[i].first, groups[i].second, notes[slot], resources[slot]);
      }
    };
    const size_t middle = first + (last - first) / 2;
    std::thread helper(work, middle, last, 1);
    work(first, middle, 0);
    helper.join();
    for (const auto& list : notes) {
      for (const std::string& note : list) sink.skip(note);
    }
    info.resourcesSkipped += resources[0] + resources[1];
    for (size_t i = first; i < last; ++i) {
      const Record& lead = records[order[groups[i].first]];
      sink.add(lead.word, std::move(converted[i - first]),
               idxFile + ": record " + std::to_string(lead.number));
    }
    done = last;
    if (!sink.progress(done, total)) return Status::ok();
  }

  // Synonyms: each leads to its main word.
  at = 0;
  uint64_t number = 0;
  while (at < syn.size()) {
    const size_t nul = syn.find('\0', at);
    ++number;
    if (nul == std::string::npos || syn.size() - nul - 1 < 4) {
      sink.skip(synFile + ": record " + std::to_string(number) +
                ": skipped: cut short at the end of the file");
      break;
    }
    const std::string_view word = std::string_view(syn).substr(at, nul - at);
    const uint64_t target =
        readBigEndian(reinterpret_cast<const unsigned char*>(syn.data()) + nul + 1, 4);
    at = nul + 5;
    const std::string where = synFile + ": record " + std::to_string(number);
    // The record numbers of the .idx count from 0, whatever was skipped.
    const auto main = std::lower_bound(records.begin(), records.end(), target + 1,
                                       [](const Record& r, uint64_t n) { return r.number < n; });
    if (main == records.end() || main->number != target + 1) {
      sink.skip(where + ": skipped: it names index record " + std::to_string(target) +
                ", which does not exist");
      continue;
    }
    const std::u16string synonym = fromUtf8(word);
    // A synonym that equals its main word under the collation adds nothing.
    if (compareWords(collation, synonym, words[main - records.begin()], CompareForm::Full) == 0)
      continue;
    std::string meaning = "@";
    for (char c : word) meaning += c == '|' ? '/' : c;
    meaning += "\r\n- See $";
    for (char c : main->word) meaning += c == '$' ? ' ' : c;
    meaning += "$";
    sink.add(word, std::move(meaning), where);
    if (++done % 2048 == 0 && !sink.progress(done, total)) return Status::ok();
  }
  sink.progress(total, total);
  info.shape = ifo.sameTypeSequence.empty() ? "mixed fields" : "fields " + ifo.sameTypeSequence;
  return Status::ok();
}

}  // namespace lexora::importers
