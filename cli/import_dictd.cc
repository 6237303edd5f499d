// lexora-cli import dictd INDEXFILE DATA [options]: a dictd database (NAME.index beside
// NAME.dict.dz or NAME.dict) becomes a dictionary. Texts of equal headwords (under the
// collation) are merged into one entry; the 00-database-* entries are left out, and
// 00-database-short gives the title when none is asked for.

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <numeric>
#include <set>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/dictd_database.h"
#include "cli/dictd_markup.h"
#include "cli/import_run.h"
#include "util/standard_utf8.h"
#include "engine/collation.h"
#include "engine/file_format.h"
#include "util/utf8_codec.h"

namespace lexora::cli {
namespace {

struct DictdText {
  std::u16string headword;
  uint64_t offset = 0;
  uint64_t length = 0;
  size_t lineNumber = 0;
};

// The first non-blank line of a text, trimmed.
std::string_view firstLine(std::string_view text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    const size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string_view::npos) return line.substr(first);
    start = end + 1;
  }
  return {};
}

}  // namespace

// Several index lines may point at one text (a dictd database lists the subentries of an entry
// that way). Only one headword holds the text: the longest one the text begins with, or else
// the first in the index; the others refer to it with a "See" line. Without this, a database
// like gcide repeats its texts four times over and cannot fit the data file's block table.
int importDictd(const std::string& indexFile, const std::string& dataFile,
                const DictionaryOptions& options, CommandIo& io) {
  std::ifstream indexIn(indexFile, std::ios::binary);
  if (!indexIn) return failure(io, indexFile, "cannot open");
  const std::string indexText = readAll(indexIn);
  if (indexIn.bad()) return failure(io, indexFile, "cannot read");
  const auto textFile = dictdTextFileFor(indexFile);
  if (!textFile) return failure(io, indexFile, "no .dict.dz or .dict file beside it");
  std::string body;
  std::string why;
  if (!readDictdText(*textFile, body, why)) return failure(io, *textFile, why);

  DictdIndex index = parseDictdIndex(indexText);
  size_t skipped = 0;
  for (const std::string& problem : index.problems) {
    io.err << indexFile << ": " << problem << ": skipped\n";
    ++skipped;
  }

  DictionaryOptions settings = options;
  const uint32_t collation = settings.collation;
  std::vector<DictdText> texts;
  texts.reserve(index.lines.size());
  for (const DictdIndexLine& line : index.lines) {
    const std::string where = indexFile + ":" + std::to_string(line.lineNumber);
    if (line.offset > body.size() || line.length > body.size() - line.offset) {
      io.err << where << ": skipped: the text lies past the end of " << *textFile << "\n";
      ++skipped;
      continue;
    }
    if (isDictdMetaEntry(line.headword)) {
      if (!settings.title && (line.headword == "00-database-short" || line.headword == "00databaseshort")) {
        settings.title = dictdShortTitle(fromUtf8(std::string_view(body).substr(line.offset, line.length)));
      }
      continue;
    }
    texts.push_back({fromUtf8(line.headword), line.offset, line.length, line.lineNumber});
  }
  const auto textOf = [&](const DictdText& t) {
    return std::string_view(body).substr(t.offset, t.length);
  };

  // The owner of each text: the longest headword that the text begins with, else the first.
  std::map<std::pair<uint64_t, uint64_t>, uint32_t> owner;
  for (uint32_t i = 0; i < texts.size(); ++i) {
    const DictdText& t = texts[i];
    const auto [it, inserted] = owner.emplace(std::make_pair(t.offset, t.length), i);
    if (inserted || t.headword.empty()) continue;
    const std::u16string start = fromUtf8(firstLine(textOf(t)).substr(0, 4 * MAX_WORD_BYTES));
    const auto begins = [&](const std::u16string& w) {
      return !w.empty() && compareWords(collation, w, start, CompareForm::Prefix) == 0;
    };
    const DictdText& current = texts[it->second];
    if (begins(t.headword) && (!begins(current.headword) || t.headword.size() > current.headword.size())) {
      it->second = i;
    }
  }

  // Group equal headwords: a stable sort keeps each group in index-file order, and its first
  // member names the merged entry and decides where the entry stands in the input order.
  std::vector<uint32_t> order(texts.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return compareWords(collation, texts[a].headword, texts[b].headword, CompareForm::Full) < 0;
  });
  std::vector<uint32_t> groupOf(texts.size());
  std::vector<std::pair<size_t, size_t>> groups;  // [begin, end) in order
  for (size_t g = 0; g < order.size();) {
    const std::u16string& lead = texts[order[g]].headword;
    size_t end = g + 1;
    // An empty headword is refused on its own; it is never grouped.
    while (!lead.empty() && end < order.size() &&
           compareWords(collation, lead, texts[order[end]].headword, CompareForm::Full) == 0) {
      ++end;
    }
    for (size_t k = g; k < end; ++k) groupOf[order[k]] = static_cast<uint32_t>(groups.size());
    groups.emplace_back(g, end);
    g = end;
  }

  std::vector<std::pair<uint32_t, ImportEntry>> merged;
  merged.reserve(groups.size());
  for (uint32_t group = 0; group < groups.size(); ++group) {
    const auto [g, end] = groups[group];
    const DictdText& lead = texts[order[g]];
    std::vector<std::u16string> parts;
    std::vector<std::u16string> references;
    std::set<std::pair<uint64_t, uint64_t>> seen;
    std::u16string meaning = dictdEntryMarkup(lead.headword, parts, references);
    for (size_t k = g; k < end; ++k) {
      const DictdText& t = texts[order[k]];
      const auto key = std::make_pair(t.offset, t.length);
      if (!seen.insert(key).second) continue;
      const DictdText& holder = texts[owner.at(key)];
      const bool own = groupOf[owner.at(key)] == group;
      if (own) {
        parts.push_back(fromUtf8(textOf(t)));
      } else if (std::find(references.begin(), references.end(), holder.headword) == references.end()) {
        references.push_back(holder.headword);
      } else {
        continue;
      }
      std::u16string longer = dictdEntryMarkup(lead.headword, parts, references);
      if (k > g && utf8EncodedLength(longer) > MAX_MEANING_BYTES) {
        io.err << indexFile << ":" << t.lineNumber << ": skipped: merging it into '"
               << toUtf8(lead.headword) << "' would make the meaning too long\n";
        ++skipped;
        if (own) parts.pop_back(); else references.pop_back();
        continue;
      }
      meaning = std::move(longer);
    }
    ImportEntry e;
    e.headword = lead.headword;
    e.meaning = std::move(meaning);
    e.where = indexFile + ":" + std::to_string(lead.lineNumber);
    merged.emplace_back(order[g], std::move(e));
  }
  std::string().swap(body);
  std::sort(merged.begin(), merged.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ImportEntry> entries;
  entries.reserve(merged.size());
  for (auto& m : merged) entries.push_back(std::move(m.second));
  return buildImported(entries, skipped, settings, dataFile, io);
}

}  // namespace lexora::cli
