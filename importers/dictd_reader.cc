#include "importers/dictd_reader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <set>
#include <tuple>

#include "engine/collation.h"
#include "engine/file_format.h"
#include "importers/dictd_database.h"
#include "importers/dictd_markup.h"
#include "importers/source_file.h"
#include "util/standard_utf8.h"

namespace lexora::importers {
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

bool isMetaNamed(const std::string& headword, const char* name) {
  return headword == std::string("00-database-") + name ||
         headword == std::string("00database") + name;
}

}  // namespace

// Several index lines may point at one text (a dictd database lists the subentries of an entry
// that way). Only one headword holds the text: the longest one the text begins with, or else
// the first in the index; the others refer to it with a "See" line. Without this, a database
// like gcide repeats its texts four times over and cannot fit the data file's block table.
Status readDictdSource(const std::string& indexFile, uint32_t collation, EntrySink& sink,
                       SourceInfo& info) {
  std::string indexText;
  {
    std::ifstream indexIn(indexFile, std::ios::binary);
    if (!indexIn) return Status::notFound(indexFile + ": cannot open");
    indexText.assign(std::istreambuf_iterator<char>(indexIn), {});
    if (indexIn.bad()) return Status::ioError(indexFile + ": cannot read");
  }
  const auto textFile = dictdTextFileFor(indexFile);
  if (!textFile) return Status::notFound(indexFile + ": no .dict.dz or .dict file beside it");
  std::string body;
  if (Status s = readSourceFile(*textFile, body); !s.isOk()) return s;

  DictdIndex index = parseDictdIndex(indexText);
  std::string().swap(indexText);
  for (const std::string& problem : index.problems)
    sink.skip(indexFile + ": " + problem + ": skipped");

  std::vector<DictdText> texts;
  texts.reserve(index.lines.size());
  std::string shortName, url, about;
  for (const DictdIndexLine& line : index.lines) {
    if (line.offset > body.size() || line.length > body.size() - line.offset) {
      sink.skip(indexFile + ":" + std::to_string(line.lineNumber) +
                ": skipped: the text lies past the end of " + *textFile);
      continue;
    }
    if (isDictdMetaEntry(line.headword)) {
      const std::string text = body.substr(line.offset, line.length);
      if (isMetaNamed(line.headword, "short")) shortName = dictdShortTitle(text);
      if (isMetaNamed(line.headword, "url")) url = text;
      if (isMetaNamed(line.headword, "info")) about = text.substr(0, 4096);
      continue;
    }
    texts.push_back({fromUtf8(line.headword), line.offset, line.length, line.lineNumber});
  }
  DictdIndex().lines.swap(index.lines);
  if (!shortName.empty()) info.title = shortName;
  const DictdShape shape = dictdShapeFromHeader(shortName, url, about);
  info.shape = dictdShapeName(shape);
  const auto textOf = [&](const DictdText& t) {
    return std::string_view(body).substr(t.offset, t.length);
  };

  // The owner of each text: the longest headword that the text begins with, else the first.
  // Texts are told apart by (offset, length); byText lists the lines in that order.
  std::vector<uint32_t> byText(texts.size());
  std::iota(byText.begin(), byText.end(), 0u);
  std::stable_sort(byText.begin(), byText.end(), [&](uint32_t a, uint32_t b) {
    return std::tie(texts[a].offset, texts[a].length) < std::tie(texts[b].offset, texts[b].length);
  });
  std::vector<uint32_t> ownerOf(texts.size());
  for (size_t r = 0; r < byText.size();) {
    size_t end = r + 1;
    const DictdText& first = texts[byText[r]];
    while (end < byText.size() && texts[byText[end]].offset == first.offset &&
           texts[byText[end]].length == first.length) {
      ++end;
    }
    uint32_t chosen = byText[r];
    if (end - r > 1) {
      const std::u16string start =
          fromUtf8(firstLine(textOf(first)).substr(0, size_t{4} * MAX_WORD_BYTES));
      const auto begins = [&](const std::u16string& w) {
        return !w.empty() && compareWords(collation, w, start, CompareForm::Prefix) == 0;
      };
      for (size_t k = r + 1; k < end; ++k) {
        const DictdText& t = texts[byText[k]];
        const DictdText& current = texts[chosen];
        if (begins(t.headword) &&
            (!begins(current.headword) || t.headword.size() > current.headword.size())) {
          chosen = byText[k];
        }
      }
    }
    for (size_t k = r; k < end; ++k) ownerOf[byText[k]] = chosen;
    r = end;
  }
  std::vector<uint32_t>().swap(byText);

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
  // Entries go out in the order of their first index line.
  std::sort(groups.begin(), groups.end(),
            [&](const auto& a, const auto& b) { return order[a.first] < order[b.first]; });
  for (uint32_t group = 0; group < groups.size(); ++group) {
    for (size_t k = groups[group].first; k < groups[group].second; ++k) groupOf[order[k]] = group;
  }

  for (uint32_t group = 0; group < groups.size(); ++group) {
    const auto [g, end] = groups[group];
    const DictdText& lead = texts[order[g]];
    const std::string headword = toUtf8(lead.headword);
    std::vector<std::string_view> parts;
    std::vector<std::string> references;
    std::set<std::pair<uint64_t, uint64_t>> seen;
    std::string meaning = dictdEntryMarkup(shape, headword, parts, references);
    for (size_t k = g; k < end; ++k) {
      const DictdText& t = texts[order[k]];
      const auto key = std::make_pair(t.offset, t.length);
      if (!seen.insert(key).second) continue;
      const DictdText& holder = texts[ownerOf[order[k]]];
      const bool own = groupOf[ownerOf[order[k]]] == group;
      if (own) {
        parts.push_back(textOf(t));
      } else {
        std::string name = toUtf8(holder.headword);
        if (std::find(references.begin(), references.end(), name) != references.end()) continue;
        references.push_back(std::move(name));
      }
      std::string longer = dictdEntryMarkup(shape, headword, parts, references);
      if (k > g && longer.size() > MAX_MEANING_BYTES) {
        sink.skip(indexFile + ":" + std::to_string(t.lineNumber) + ": skipped: merging it into '" +
                  headword + "' would make the meaning too long");
        if (own)
          parts.pop_back();
        else
          references.pop_back();
        continue;
      }
      meaning = std::move(longer);
    }
    sink.add(headword, std::move(meaning), indexFile + ":" + std::to_string(lead.lineNumber));
    if (group % 2048 == 0 && !sink.progress(group, groups.size())) return Status::ok();
  }
  sink.progress(groups.size(), groups.size());
  return Status::ok();
}

}  // namespace lexora::importers
