#include "importers/dsl_reader.h"

#include <map>
#include <memory>
#include <vector>

#include "importers/dsl_include.h"
#include "importers/dsl_markup.h"
#include "importers/dsl_source.h"
#include "importers/media_archive.h"
#include "importers/resource_store.h"
#include "importers/source_file.h"
#include "importers/text_encoding.h"

namespace lexora::importers {
namespace {

using Abbreviations = std::map<std::string, std::string, std::less<>>;

bool endsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The abbreviations of NAME_abrv.dsl (or .dsl.dz); none when there is no such file.
Abbreviations readAbbreviations(const std::string& base, EntrySink& sink) {
  Abbreviations out;
  for (const char* ending : {"_abrv.dsl", "_abrv.dsl.dz"}) {
    std::string bytes;
    if (!readSourceFile(base + ending, bytes).isOk()) continue;
    DslText dsl;
    if (Status s = parseDslText(bytes, dsl); !s.isOk()) {
      sink.skip(base + ending + ": skipped: " + s.message());
      break;
    }
    for (const DslCard& card : dsl.cards) {
      const std::string meaning = dslPlainText(card.body);
      if (meaning.empty()) continue;
      for (std::string_view line : card.headwords) out.emplace(unescapeDsl(line), meaning);
    }
    break;
  }
  return out;
}

std::string readAnnotation(const std::string& base) {
  std::string bytes;
  if (!readSourceFile(base + ".ann", bytes).isOk()) return {};
  size_t mark = 0;
  const char* charset = guessUnicodeEncoding(bytes, mark);
  std::string text;
  if (!convertToUtf8(std::string_view(bytes).substr(mark), charset, text).isOk()) return {};
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    out += c == '\n' ? ' ' : c;
  }
  const size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// The body lines of a card up to its first sub-card, and each sub-card with its lines.
struct SubCard {
  std::string_view headword;
  std::vector<std::string_view> body;
};

std::vector<SubCard> splitSubCards(const std::vector<std::string_view>& body,
                                   std::vector<std::string_view>& main) {
  std::vector<SubCard> subs;
  bool inSub = false;
  for (std::string_view line : body) {
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] == '@') {
      std::string_view rest = line.substr(first + 1);
      const size_t word = rest.find_first_not_of(" \t");
      inSub = word != std::string_view::npos;  // a lone "@" ends the sub-card
      if (inSub) subs.push_back({rest.substr(word), {}});
      continue;
    }
    (inSub ? subs.back().body : main).push_back(line);
  }
  return subs;
}

class CardWriter {
 public:
  CardWriter(const std::string& file, const Abbreviations& abbreviations, EntrySink& sink,
             SourceInfo& info, ResourceStore* resources)
      : file_(file),
        abbreviations_(abbreviations),
        sink_(sink),
        info_(info),
        resources_(resources),
        media_(file) {}

  // `file` names the card's file (the source or one it includes) in reports.
  void write(const DslCard& card, const std::string& file) {
    std::vector<std::string_view> mainBody;
    const std::vector<SubCard> subs = splitSubCards(card.body, mainBody);
    const std::string where = file + ":" + std::to_string(card.line);
    std::vector<DslHeadword> headwords;
    for (std::string_view line : card.headwords) headwords.push_back(parseDslHeadword(line));
    if (headwords.empty() || headwords.front().keys.empty()) {
      sink_.skip(where + ": skipped: the card has no headword");
      return;
    }
    const std::string& tilde = headwords.front().full;
    // The sub-cards' own entries, and their lines inside the main card.
    std::vector<std::string> subLines;
    for (const SubCard& sub : subs) {
      const DslHeadword h = parseDslHeadword(sub.headword);
      if (h.keys.empty()) continue;
      DslBodyMarkup markup;
      convertDslBody(sub.body, context(tilde, h.shown), markup);
      const std::string entry = dslEntryMarkup(h.shown, markup);
      for (const std::string& key : h.keys) add(key, std::string(entry), where);
      subLines.push_back(dslSubCardLine(h.keys.front()));
      subLines.insert(subLines.end(), markup.lines.begin(), markup.lines.end());
    }
    for (const DslHeadword& h : headwords) {
      DslBodyMarkup markup;
      convertDslBody(mainBody, context(tilde, h.shown), markup);
      markup.lines.insert(markup.lines.end(), subLines.begin(), subLines.end());
      const std::string entry = dslEntryMarkup(h.shown, markup);
      for (const std::string& key : h.keys) add(key, std::string(entry), where);
    }
  }

 private:
  DslBodyContext context(const std::string& tilde, const std::string& shown) {
    DslBodyContext c;
    c.headword = tilde;
    c.shown = shown;
    c.abbreviations = &abbreviations_;
    c.media = [this](std::string_view name) { return mediaLine(name); };
    return c;
  }

  // The media line of a file that an entry names, copied into the resource folder first.
  std::string mediaLine(std::string_view name) {
    if (resources_ == nullptr) {
      ++info_.resourcesSkipped;
      return {};
    }
    std::string why;
    std::string line = storeMediaLine(name, media_, *resources_, info_, why);
    if (!why.empty()) sink_.skip(file_ + ": '" + std::string(name) + "': skipped: " + why);
    return line;
  }

  // Cards of one headword (homonyms) become one entry: the headword line once, a blank line
  // between the cards' texts.
  void add(const std::string& key, std::string&& entry, const std::string& where) {
    const auto [it, added] = index_.emplace(key, pending_.size());
    if (added) {
      pending_.push_back({key, std::move(entry), where});
      return;
    }
    const size_t lineEnd = entry.find("\r\n");
    if (lineEnd == std::string::npos) return;
    std::string& meaning = pending_[it->second].meaning;
    meaning += "\r\n";
    meaning.append(entry, lineEnd, std::string::npos);
  }

 public:
  void flush() {
    for (Pending& p : pending_) sink_.add(p.key, std::move(p.meaning), p.where);
    pending_.clear();
  }

 private:
  struct Pending {
    std::string key;
    std::string meaning;
    std::string where;
  };

  const std::string& file_;
  const Abbreviations& abbreviations_;
  EntrySink& sink_;
  SourceInfo& info_;
  ResourceStore* resources_;
  MediaArchive media_;
  std::map<std::string, size_t> index_;
  std::vector<Pending> pending_;
};

}  // namespace

std::string dslBaseName(const std::string& file) {
  for (std::string_view ending : {".dsl.dz", ".dsl"}) {
    if (endsWith(file, ending)) return file.substr(0, file.size() - ending.size());
  }
  return {};
}

Status readDslSource(const std::string& file, EntrySink& sink, SourceInfo& info,
                     ResourceStore* resources) {
  std::vector<std::unique_ptr<DslFile>> files;
  if (Status s = readDslFiles(file, files); !s.isOk()) {
    // The source's own failures name it already; an include's name the directive's place.
    if (s.message().rfind(file, 0) == 0) return s;
    return s.withContext(file + ": ");
  }
  uint64_t total = 0;
  for (const auto& f : files) total += f->text.cards.size();
  if (total == 0) return Status::invalidArgument(file + ": holds no cards (is it a DSL file?)");
  const DslText& dsl = files.front()->text;
  const std::string base = dslBaseName(file);
  const Abbreviations abbreviations = readAbbreviations(base, sink);
  if (!dsl.name.empty()) info.title = dsl.name;
  if (std::string annotation = readAnnotation(base); !annotation.empty())
    info.description = annotation;
  info.language = dslLanguageTag(dsl.indexLanguage);
  info.shape = "DSL";

  CardWriter writer(file, abbreviations, sink, info, resources);
  uint64_t done = 0;
  for (const auto& f : files) {
    for (const DslCard& card : f->text.cards) {
      writer.write(card, f->path);
      if (++done % 1024 == 0 && !sink.progress(done, total)) return Status::ok();
    }
  }
  writer.flush();
  sink.progress(total, total);
  return Status::ok();
}

}  // namespace lexora::importers
