// lexora-cli lookup [DATA...] WORD | lookup DATA... -  [--json]
// Looks words up the way a terminal dictionary does: for each dictionary its title, then the
// entry drawn for the terminal (styled when stdout is a terminal, plain otherwise), or one
// JSON object per word with --json. "-" reads one word per line from stdin. Without DATA the
// installed dictionaries are searched.
// A word a dictionary does not hold is looked up by its other spellings ("Showing café for
// cafe"), its base forms ("running → run", JSON "form_of") and, for a phrase, its parts;
// without one, the nearest headword is named with spelling suggestions ("Did you mean: ...",
// JSON "suggestions"). JSON "match" says which: "exact", "form", "folded" or "nearest". A
// headword that is a form of another one names it ("see also: go", JSON "see_also").
// --language TAG sets the headwords' language for the run.

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "app/lookup_answer.h"
#include "app/lookup_page.h"
#include "app/settings.h"
#include "app/word_help.h"
#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/render_support.h"
#include "cli/terminal_text.h"
#include "engine/collation.h"
#include "engine/dictionary.h"
#include "render/entry_markup.h"
#include "render/entry_outline.h"
#include "render/terminal_renderer.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

namespace {

// Decompressed blocks a batch keeps, shared out among its dictionaries: enough for every
// block of a dictionary as large as gcide, and a bound on memory for larger ones.
constexpr size_t kBatchBlockBytes = size_t{64} << 20;

constexpr size_t kFlushBytes = 1 << 16;

struct OpenDictionary {
  std::string file;
  std::string title;  // UTF-8; the file name when the dictionary has no title
  std::unique_ptr<Dictionary> dictionary;
  // One volume of a source imported in several ("T, volume 1 of 2 (a – m)"): the title before
  // ", volume", and the volume's first and last headwords.
  std::string book;
  std::u16string first;
  std::u16string last;
};

OpenDictionary openedDictionary(const std::string& file, std::string title,
                                std::unique_ptr<Dictionary> d) {
  OpenDictionary o{file, std::move(title), std::move(d), {}, {}, {}};
  const size_t volume = o.title.rfind(", volume ");
  std::vector<std::u16string> words;
  const uint32_t count = o.dictionary->wordCount();
  if (volume == std::string::npos || count == 0) return o;
  if (!o.dictionary->readWords(0, 1, words).isOk() || words.empty()) return o;
  o.first = words[0];
  if (!o.dictionary->readWords(count - 1, 1, words).isOk() || words.empty()) return o;
  o.last = words[0];
  o.book = o.title.substr(0, volume);
  return o;
}

// True when `word` lies before or after the headwords of volume `d` and another volume of the
// same source is looked up too: a miss there says nothing.
bool inAnotherVolume(const OpenDictionary& d, std::u16string_view word,
                     const std::vector<OpenDictionary>& all) {
  if (d.book.empty()) return false;
  const bool sibling = std::any_of(all.begin(), all.end(), [&](const OpenDictionary& o) {
    return &o != &d && o.book == d.book;
  });
  const uint32_t collation = d.dictionary->collation();
  return sibling && (compareWords(collation, word, d.first, CompareForm::Full) < 0 ||
                     compareWords(collation, word, d.last, CompareForm::Full) > 0);
}

const char* kindName(LineKind kind) {
  switch (kind) {
    case LineKind::Blank:
      return "blank";
    case LineKind::Headword:
      return "headword";
    case LineKind::WordClass:
      return "word_class";
    case LineKind::Meaning:
      return "meaning";
    case LineKind::Example:
      return "example";
    case LineKind::Idiom:
      return "idiom";
    case LineKind::Synonym:
      return "synonym";
    case LineKind::Plain:
      return "plain";
  }
  return "plain";
}

void appendJsonText(std::string& out, std::u16string_view text) {
  appendJsonString(out, toUtf8(text));
}

// What a miss found besides the nearest headword.
struct MissHelp {
  MatchKind match = MatchKind::Nearest;
  std::u16string formOf;  // the typed word, when the entry shown is found another way
  std::vector<std::u16string> suggestions;
  std::u16string seeAlso;  // for an exact match: the headword it is a form of

  bool found() const { return match != MatchKind::Nearest && match != MatchKind::PhrasePart; }
};

void appendEntryJson(std::string& out, const OpenDictionary& d, const EntryLookup& entry,
                     const MissHelp& help) {
  out.append("{\"dictionary\":");
  appendJsonString(out, d.title);
  out.append(",\"file\":");
  appendJsonString(out, d.file);
  out.append(",\"position\":").append(std::to_string(entry.position));
  out.append(",\"sign\":").append(std::to_string(entry.sign));
  out.append(",\"match\":\"").append(matchName(entry.sign == 0 ? MatchKind::Exact : help.match));
  out.append("\",\"exact\":").append(entry.sign == 0 ? "true" : "false");
  if (!help.seeAlso.empty()) {
    out.append(",\"see_also\":");
    appendJsonText(out, help.seeAlso);
  }
  if (help.match == MatchKind::Form) {
    out.append(",\"form_of\":");
    appendJsonText(out, help.formOf);
  } else if (entry.sign != 0 && help.formOf.empty()) {
    out.append(",\"suggestions\":[");
    for (size_t i = 0; i < help.suggestions.size(); ++i) {
      if (i > 0) out.push_back(',');
      appendJsonText(out, help.suggestions[i]);
    }
    out.push_back(']');
  }
  out.append(",\"headword\":");
  appendJsonText(out, entry.headword);
  out.append(",\"entry\":");
  appendJsonText(out, entry.meaning);
  out.append(",\"lines\":[");
  bool first = true;
  for (const OutlineLine& line : outlineEntry(entry.meaning)) {
    if (line.kind == LineKind::Blank) continue;
    if (!first) out.push_back(',');
    first = false;
    out.append("{\"kind\":\"").append(kindName(line.kind)).append("\",\"text\":");
    appendJsonText(out, line.text);
    if (line.kind == LineKind::Headword) {
      out.append(",\"pronunciation\":");
      appendJsonText(out, line.pronunciation);
    }
    if (line.hasTranslation) {
      out.append(",\"translation\":");
      appendJsonText(out, line.translation);
    }
    if (!line.links.empty()) {
      out.append(",\"links\":[");
      for (size_t i = 0; i < line.links.size(); ++i) {
        if (i > 0) out.push_back(',');
        appendJsonText(out, line.links[i]);
      }
      out.push_back(']');
    }
    out.push_back('}');
  }
  out.append("]}");
}

class Lookup {
 public:
  Lookup(std::vector<OpenDictionary>& dictionaries, bool json, bool ansi, WordHelp& help,
         CommandIo& io)
      : dictionaries_(dictionaries),
        json_(json),
        ansi_(ansi),
        terminal_(writesToTerminal(io)),
        help_(help),
        io_(io) {
    buffer_.reserve(kFlushBytes * 2);
  }

  // Looks up one word in every dictionary; true when some dictionary holds it.
  bool lookUp(std::string_view typed) {
    const std::u16string word = normaliseLookupWord(fromUtf8(typed));
    bool found = false;
    if (json_) {
      buffer_.append("{\"word\":");
      appendJsonText(buffer_, word);
      buffer_.append(",\"results\":[");
    }
    bool firstResult = true;
    for (OpenDictionary& d : dictionaries_) {
      EntryLookup entry;
      std::string why;
      if (lookupEntry(*d.dictionary, word, entry, why) != LookupStatus::Found) {
        flush();
        failure(io_, d.file, why);
        continue;
      }
      if (entry.sign != 0 && inAnotherVolume(d, word, dictionaries_)) continue;
      MissHelp miss;
      if (entry.sign != 0) {
        helpWithMiss(*d.dictionary, word, entry, miss);
      } else if (auto base = help_.seeAlso(*d.dictionary, entry.headword)) {
        miss.seeAlso = std::move(base->headword);
      }
      found = found || entry.sign == 0 || miss.found();
      if (json_) {
        if (!firstResult) buffer_.push_back(',');
        appendEntryJson(buffer_, d, entry, miss);
      } else {
        appendText(d, word, entry, miss);
      }
      firstResult = false;
    }
    if (json_) buffer_.append("]}\n");
    if (buffer_.size() >= kFlushBytes) flush();
    return found;
  }

  void flush() {
    if (buffer_.empty()) return;
    io_.out.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  // Another spelling's, a base form's or a phrase part's entry takes the nearest headword's
  // place in `entry`; without one, the suggestions are gathered.
  void helpWithMiss(Dictionary& dictionary, std::u16string_view word, EntryLookup& entry,
                    MissHelp& miss) {
    LookupAnswer answer = answerLookup(dictionary, word, false, &help_);
    miss.suggestions = std::move(answer.suggestions);
    std::u16string meaning;
    if (!answer.shown || answer.match == MatchKind::Nearest ||
        !dictionary.readMeaning(*answer.shown, meaning).isOk()) {
      return;
    }
    entry.position = *answer.shown;
    entry.headword = answer.baseForm;
    entry.meaning = std::move(meaning);
    miss.match = answer.match;
    miss.formOf = std::u16string(word);
  }

  void appendText(const OpenDictionary& d, std::u16string_view word, const EntryLookup& entry,
                  const MissHelp& miss) {
    if (ansi_) buffer_.append("\x1b[1;4m");
    buffer_.append(oneLine(d.title, terminal_));
    if (ansi_) buffer_.append("\x1b[0m");
    buffer_.push_back('\n');
    if (!miss.formOf.empty()) {
      appendShown(matchNote(miss.match, miss.formOf, entry.headword));
      buffer_.push_back('\n');
    } else if (entry.sign != 0) {
      buffer_.append("No entry for \"");
      appendShown(word);
      buffer_.append("\"; nearest is \"");
      appendShown(entry.headword);
      buffer_.append("\".\n");
      if (!miss.suggestions.empty()) {
        appendShown(suggestionLine(miss.suggestions));
        buffer_.push_back('\n');
      }
      buffer_.push_back('\n');
      return;
    }
    // The drawing and the outline under it reuse their memory from word to word.
    drawn_.clear();
    renderEntryForTerminal(
        terminal_ ? fromUtf8(entryWithVisibleControls(toUtf8(entry.meaning))) : entry.meaning,
        cliDisplaySettings(), ansi_, drawn_, outline_);
    appendUtf8(buffer_, drawn_);
    buffer_.push_back('\n');
    if (!miss.seeAlso.empty()) {
      buffer_.append("see also: ");
      appendShown(miss.seeAlso);
      buffer_.append("\n\n");
    }
  }

  // Dictionary text, its control characters as escapes on a terminal.
  void appendShown(std::u16string_view text) {
    if (terminal_) {
      buffer_.append(visibleControls(toUtf8(text)));
    } else {
      appendUtf8(buffer_, text);
    }
  }

  std::vector<OpenDictionary>& dictionaries_;
  bool json_;
  bool ansi_;
  bool terminal_;
  WordHelp& help_;
  CommandIo& io_;
  std::string buffer_;
  std::u16string drawn_;
  std::vector<OutlineLine> outline_;
};

// The word help of the last lookup, kept until the next one or the process's end: the
// process ends right after a lookup, and taking a Hunspell dictionary apart piece by piece
// cost a quarter of a misspelled lookup's time, while the end drops it whole.
WordHelp& freshWordHelp() {
  static std::unique_ptr<WordHelp>* kept = new std::unique_ptr<WordHelp>();
  *kept = std::make_unique<WordHelp>(
      WordHelp::Places{[] { return &settingsKey(); }, WordHelp::defaultIndexFolder()});
  return **kept;
}

std::string baseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int runLookup(const std::vector<std::string>& args, CommandIo& io) {
  std::vector<std::string> rest = args;
  const bool json = takeFlag(rest, "--json");
  std::string why;
  const auto parsed = parseArguments(rest, {"--language"}, 1, SIZE_MAX, why);
  if (!parsed) return usageError(io, kLookupUsage, why);
  std::vector<std::string> files(parsed->positional.begin(), parsed->positional.end() - 1);
  const std::string& wordArgument = parsed->positional.back();
  if (files.empty()) {
    files = installedDictionaryFiles();
    if (files.empty()) return failure(io, "settings", "no dictionaries are installed");
  }

  std::vector<OpenDictionary> dictionaries;
  dictionaries.reserve(files.size());
  for (const std::string& file : files) {
    auto d = std::make_unique<Dictionary>();
    if (!openOrReport(*d, file, io)) continue;
    std::string title = toUtf8(d->title());
    if (title.empty()) title = baseName(file);
    dictionaries.push_back(openedDictionary(file, std::move(title), std::move(d)));
  }
  if (dictionaries.empty()) return kExitFailed;

  // Styles only for a terminal, and not when the user asks for no colour.
  const bool ansi = !json && &io.out == &std::cout && ::isatty(STDOUT_FILENO) == 1 &&
                    std::getenv("NO_COLOR") == nullptr;
  WordHelp& help = freshWordHelp();
  if (parsed->has("--language")) {
    const std::string& tag = parsed->option("--language");
    const std::string language = tag == "none" ? tag : normaliseLanguageTag(tag);
    if (language.empty()) return usageError(io, kLookupUsage, "bad language '" + tag + "'");
    help.setLanguageOverride(language);
  }
  Lookup lookup(dictionaries, json, ansi, help, io);
  bool allFound = true;
  if (wordArgument == "-") {
    // A batch reads meanings in any order: keep the decompressed blocks, least recently used
    // out first, rather than inflating a block again for each word.
    for (OpenDictionary& d : dictionaries) {
      d.dictionary->retainDecompressedBlocks(kBatchBlockBytes / dictionaries.size());
    }
    std::string line;
    while (std::getline(io.in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (normaliseLookupWord(fromUtf8(line)).empty()) continue;
      allFound = lookup.lookUp(line) && allFound;
    }
  } else {
    allFound = lookup.lookUp(wordArgument);
  }
  lookup.flush();
  return allFound ? kExitOk : kExitNotFound;
}

}  // namespace lexora::cli
