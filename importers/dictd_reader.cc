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
#include "importers/dictd_headline.h"
#include "importers/dictd_markup.h"
#include "importers/dictd_text.h"
#include "importers/source_file.h"
#include "util/standard_utf8.h"

namespace lexora::importers {
namespace {

struct DictdText {
  std::u16string headword;  // as the text spells it; the index key when it does not
  uint64_t offset = 0;
  uint64_t length = 0;
  size_t lineNumber = 0;
  bool named = false;  // the text itself names the headword
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

// The database's description: its 00-database-info text without the line that names the
// entry, blank lines kept as paragraph breaks, cut to a reasonable length.
std::string dictdDescription(std::string_view text) {
  std::string out;
  bool first = true;
  for (const dictd_text::Line& line : dictd_text::splitText(text)) {
    if (first && isDictdMetaEntry(line.text)) continue;
    first = false;
    if (line.text.empty()) {
      if (!out.empty() && out.back() != '\n') out += '\n';
      continue;
    }
    if (!out.empty() && out.back() != '\n') out += ' ';
    out += line.text;
    if (out.size() > 4096) break;
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

// Everything read from the two files.
struct DictdSource {
  std::string indexFile;
  std::string textFile;
  std::string body;
  std::vector<DictdText> texts;
  DictdShape shape = DictdShape::Generic;

  std::string_view textOf(const DictdText& t) const {
    return std::string_view(body).substr(t.offset, t.length);
  }
  std::string where(size_t lineNumber) const {
    return indexFile + ":" + std::to_string(lineNumber);
  }
};

Status readFiles(const std::string& indexFile, DictdSource& source, DictdIndex& index) {
  std::string indexText;
  {
    std::ifstream indexIn(indexFile, std::ios::binary);
    if (!indexIn) return Status::notFound(indexFile + ": cannot open");
    indexText.assign(std::istreambuf_iterator<char>(indexIn), {});
    if (indexIn.bad()) return Status::ioError(indexFile + ": cannot read");
  }
  const auto textFile = dictdTextFileFor(indexFile);
  if (!textFile) return Status::notFound(indexFile + ": no .dict.dz or .dict file beside it");
  source.indexFile = indexFile;
  source.textFile = *textFile;
  if (Status s = readSourceFile(*textFile, source.body); !s.isOk()) return s;
  index = parseDictdIndex(indexText);
  return Status::ok();
}

// The index key is a search key ("zeus", "aujourdhui", "Caf'e"): the headword is the word as
// the text writes it, or as another text of the same key writes it (a phrase listed under one
// of its words), or else the key.
void spellHeadwords(DictdSource& source) {
  std::map<std::u16string, std::u16string> spellingOf;
  std::vector<std::u16string> spelled(source.texts.size());
  for (size_t i = 0; i < source.texts.size(); ++i) {
    const DictdText& t = source.texts[i];
    spelled[i] = fromUtf8(dictdSpelledHeadword(source.shape, toUtf8(t.headword), source.textOf(t)));
    if (!spelled[i].empty()) spellingOf.emplace(t.headword, spelled[i]);
    source.texts[i].named = !spelled[i].empty();
  }
  for (size_t i = 0; i < source.texts.size(); ++i) {
    DictdText& t = source.texts[i];
    if (spelled[i].empty()) {
      const auto it = spellingOf.find(t.headword);
      if (it != spellingOf.end()) spelled[i] = it->second;
    }
    if (!spelled[i].empty()) t.headword = std::move(spelled[i]);
  }
}

// Keeps the index lines whose text lies in the file; the header entries go to `info`.
void collectTexts(DictdIndex& index, DictdSource& source, EntrySink& sink, SourceInfo& info) {
  for (const std::string& problem : index.problems)
    sink.skip(source.indexFile + ": " + problem + ": skipped");
  source.texts.reserve(index.lines.size());
  std::string shortName, url, about;
  const std::string& body = source.body;
  for (const DictdIndexLine& line : index.lines) {
    if (line.offset > body.size() || line.length > body.size() - line.offset) {
      sink.skip(source.where(line.lineNumber) + ": skipped: the text lies past the end of " +
                source.textFile);
      continue;
    }
    if (isDictdMetaEntry(line.headword)) {
      const std::string text = body.substr(line.offset, line.length);
      if (isMetaNamed(line.headword, "short")) shortName = dictdShortTitle(text);
      if (isMetaNamed(line.headword, "url")) url = text;
      if (isMetaNamed(line.headword, "info")) about = text;
      continue;
    }
    source.texts.push_back({fromUtf8(line.headword), line.offset, line.length, line.lineNumber});
  }
  DictdIndex().lines.swap(index.lines);
  if (!shortName.empty()) info.title = shortName;
  if (std::string d = dictdDescription(about); !d.empty()) info.description = std::move(d);
  source.shape = dictdShapeFromHeader(shortName, url, about);
  info.shape = dictdShapeName(source.shape);
  spellHeadwords(source);
}

// Several index lines may point at one text (a dictd database lists the subentries of an entry
// that way). Only one headword holds the text: the longest one the text begins with, or else
// the first in the index; the others refer to it with a "See" line. Without this, a database
// like gcide repeats its texts four times over and cannot fit the data file's block table.
std::vector<uint32_t> chooseOwners(const DictdSource& source, uint32_t collation) {
  const std::vector<DictdText>& texts = source.texts;
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
          fromUtf8(firstLine(source.textOf(first)).substr(0, size_t{4} * MAX_WORD_BYTES));
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
  return ownerOf;
}

// Equal headwords (under the collation) make one entry. `order` lists the texts sorted by
// headword, each group of equal ones in index-file order; the groups ([begin, end) in `order`)
// come in the order of their first index line; groupOf gives each text's group.
struct Grouping {
  std::vector<uint32_t> order;
  std::vector<std::pair<size_t, size_t>> groups;
  std::vector<uint32_t> groupOf;
};

Grouping groupHeadwords(const std::vector<DictdText>& texts, uint32_t collation) {
  Grouping g;
  g.order.resize(texts.size());
  std::iota(g.order.begin(), g.order.end(), 0u);
  std::stable_sort(g.order.begin(), g.order.end(), [&](uint32_t a, uint32_t b) {
    return compareWords(collation, texts[a].headword, texts[b].headword, CompareForm::Full) < 0;
  });
  for (size_t k = 0; k < g.order.size();) {
    const std::u16string& lead = texts[g.order[k]].headword;
    size_t end = k + 1;
    // An empty headword is refused on its own; it is never grouped.
    while (!lead.empty() && end < g.order.size() &&
           compareWords(collation, lead, texts[g.order[end]].headword, CompareForm::Full) == 0) {
      ++end;
    }
    g.groups.emplace_back(k, end);
    k = end;
  }
  std::sort(g.groups.begin(), g.groups.end(),
            [&](const auto& a, const auto& b) { return g.order[a.first] < g.order[b.first]; });
  g.groupOf.resize(texts.size());
  for (uint32_t group = 0; group < g.groups.size(); ++group) {
    for (size_t k = g.groups[group].first; k < g.groups[group].second; ++k)
      g.groupOf[g.order[k]] = group;
  }
  return g;
}

// One group's entry: its own texts, and "See" lines to the headwords that hold shared ones.
void writeEntry(const DictdSource& source, const Grouping& g, const std::vector<uint32_t>& ownerOf,
                uint32_t group, EntrySink& sink) {
  const auto [begin, end] = g.groups[group];
  const DictdText& lead = source.texts[g.order[begin]];
  // The spelling of a text that names the word itself, when one does ("Shealing" rather than
  // the key "shealing" of a text that only mentions it).
  const DictdText* spelling = &lead;
  for (size_t k = begin; k < end && !spelling->named; ++k) spelling = &source.texts[g.order[k]];
  if (!spelling->named) spelling = &lead;
  const std::string headword = toUtf8(spelling->headword);
  std::vector<std::string_view> parts;
  std::vector<std::string> references;
  std::set<std::pair<uint64_t, uint64_t>> seen;
  std::string meaning = dictdEntryMarkup(source.shape, headword, parts, references);
  for (size_t k = begin; k < end; ++k) {
    const DictdText& t = source.texts[g.order[k]];
    if (!seen.insert({t.offset, t.length}).second) continue;
    const DictdText& holder = source.texts[ownerOf[g.order[k]]];
    // A text that names this headword itself is its own too (foldoc's "ASCII" under the entry
    // "American Standard Code for Information Interchange"), except in gcide, whose headlines
    // name every form and would repeat its texts many times over.
    const bool own =
        g.groupOf[ownerOf[g.order[k]]] == group || (t.named && source.shape != DictdShape::Gcide);
    if (own) {
      parts.push_back(source.textOf(t));
    } else {
      std::string name = toUtf8(holder.headword);
      if (std::find(references.begin(), references.end(), name) != references.end()) continue;
      references.push_back(std::move(name));
    }
    std::string longer = dictdEntryMarkup(source.shape, headword, parts, references);
    if (k > begin && longer.size() > MAX_MEANING_BYTES) {
      sink.skip(source.where(t.lineNumber) + ": skipped: merging it into '" + headword +
                "' would make the meaning too long");
      if (own)
        parts.pop_back();
      else
        references.pop_back();
      continue;
    }
    meaning = std::move(longer);
  }
  sink.add(headword, std::move(meaning), source.where(lead.lineNumber));
}

}  // namespace

Status readDictdSource(const std::string& indexFile, uint32_t collation, EntrySink& sink,
                       SourceInfo& info) {
  DictdSource source;
  DictdIndex index;
  if (Status s = readFiles(indexFile, source, index); !s.isOk()) return s;
  collectTexts(index, source, sink, info);
  const std::vector<uint32_t> ownerOf = chooseOwners(source, collation);
  const Grouping grouping = groupHeadwords(source.texts, collation);
  const size_t count = grouping.groups.size();
  for (uint32_t group = 0; group < count; ++group) {
    writeEntry(source, grouping, ownerOf, group, sink);
    if (group % 2048 == 0 && !sink.progress(group, count)) return Status::ok();
  }
  sink.progress(count, count);
  return Status::ok();
}

}  // namespace lexora::importers
