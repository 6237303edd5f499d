// lexora-cli lookup [DATA...] WORD | lookup DATA... -  [-d NAME]... [--all] [--no-wrap]
//                  [--json] [--language TAG]
// Looks words up the way a terminal dictionary does: for each dictionary that holds the word
// its title, then the entry drawn for the terminal (styled and folded to the terminal's width
// when stdout is a terminal, plain otherwise), or one JSON object per word with --json. The
// dictionaries without the word are summed up in one line ("not in 8 other dictionaries");
// --all shows each of them with its nearest headword. "-" reads one word per line from stdin.
// Without DATA the installed dictionaries are searched, or those that -d names.
// A word a dictionary does not hold is looked up by its other spellings ("Showing café for
// cafe"), its base forms ("running → run", JSON "form_of") and, for a phrase, its parts;
// without one, the nearest headword is named with spelling suggestions ("Did you mean: ...",
// JSON "suggestions"). JSON "match" says which: "exact", "form", "folded" or "nearest". A
// headword that is a form of another one names it ("see also: go", JSON "see_also").
// --language TAG sets the headwords' language for the run.

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "app/lookup_answer.h"
#include "app/lookup_page.h"
#include "app/settings.h"
#include "app/word_help.h"
#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/dictionary_choice.h"
#include "cli/render_support.h"
#include "cli/terminal_text.h"
#include "engine/collation.h"
#include "engine/dictionary.h"
#include "render/entry_markup.h"
#include "render/entry_outline.h"
#include "render/terminal_renderer.h"
#include "render/terminal_wrap.h"
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

// How the text answer looks.
struct TextForm {
  bool ansi = false;       // styles as terminal escapes
  int wrapWidth = 0;       // fold entries to this many columns; 0 leaves lines as they are
  bool allMisses = false;  // each dictionary without the word shown with its nearest headword
};

class Lookup {
 public:
  Lookup(std::vector<OpenDictionary>& dictionaries, bool json, TextForm form, WordHelp& help,
         CommandIo& io)
      : dictionaries_(dictionaries),
        json_(json),
        form_(form),
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
    std::vector<Miss> misses;
    for (OpenDictionary& d : dictionaries_) {
      Miss answer{&d, {}, {}};
      std::string why;
      if (lookupEntry(*d.dictionary, word, answer.entry, why) != LookupStatus::Found) {
        flush();
        failure(io_, d.file, why);
        continue;
      }
      if (answer.entry.sign != 0 && inAnotherVolume(d, word, dictionaries_)) continue;
      if (answer.entry.sign != 0) {
        helpWithMiss(*d.dictionary, word, answer.entry, answer.help);
      } else if (auto base = help_.seeAlso(*d.dictionary, answer.entry.headword)) {
        answer.help.seeAlso = std::move(base->headword);
      }
      const bool holds = answer.entry.sign == 0 || answer.help.found();
      found = found || holds;
      if (json_) {
        if (!firstResult) buffer_.push_back(',');
        appendEntryJson(buffer_, d, answer.entry, answer.help);
      } else if (holds || !answer.help.formOf.empty() || form_.allMisses) {
        appendText(d, word, answer.entry, answer.help);
      } else {
        misses.push_back(std::move(answer));
      }
      firstResult = false;
    }
    if (json_) buffer_.append("]}\n");
    if (!json_) appendMisses(word, misses, found);
    if (buffer_.size() >= kFlushBytes) flush();
    return found;
  }

  void flush() {
    if (buffer_.empty()) return;
    io_.out.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  // One dictionary's answer; a miss when it holds neither the word nor a form of it.
  struct Miss {
    const OpenDictionary* dictionary;
    EntryLookup entry;
    MissHelp help;
  };

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

  // The dictionaries without the word (--all showed them in place): one line after the
  // entries found, or, when none has the word, that one dictionary's miss in full or one line
  // with the suggestions of them all.
  void appendMisses(std::u16string_view word, const std::vector<Miss>& misses, bool found) {
    if (misses.empty()) return;
    if (misses.size() == 1 && !found) {
      for (const Miss& m : misses) appendText(*m.dictionary, word, m.entry, m.help);
      return;
    }
    const std::string count = std::to_string(misses.size());
    if (found) {
      buffer_.append("not in ").append(count);
      buffer_.append(misses.size() == 1 ? " other dictionary\n\n" : " other dictionaries\n\n");
      return;
    }
    buffer_.append("No entry for \"");
    appendShown(word);
    buffer_.append("\" in ").append(count).append(" dictionaries.\n");
    std::vector<std::u16string> suggestions;
    for (const Miss& m : misses) {
      for (const std::u16string& s : m.help.suggestions) {
        if (suggestions.size() < kMaxSuggestions &&
            std::find(suggestions.begin(), suggestions.end(), s) == suggestions.end()) {
          suggestions.push_back(s);
        }
      }
    }
    if (!suggestions.empty()) {
      appendShown(suggestionLine(suggestions));
      buffer_.push_back('\n');
    }
    buffer_.push_back('\n');
  }

  void appendText(const OpenDictionary& d, std::u16string_view word, const EntryLookup& entry,
                  const MissHelp& miss) {
    if (form_.ansi) buffer_.append("\x1b[1;4m");
    buffer_.append(oneLine(d.title, terminal_));
    if (form_.ansi) buffer_.append("\x1b[0m");
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
        cliDisplaySettings(), form_.ansi, drawn_, outline_);
    appendUtf8(buffer_, form_.wrapWidth > 0 ? wrapForTerminal(drawn_, form_.wrapWidth) : drawn_);
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

  static constexpr size_t kMaxSuggestions = 8;

  std::vector<OpenDictionary>& dictionaries_;
  bool json_;
  TextForm form_;
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

// What the command line asks for.
struct LookupRequest {
  std::vector<std::string> files;  // named on the command line; empty: the installed ones
  std::vector<std::string> names;  // -d NAME, narrowing the installed ones
  std::string word;                // or "-"
  bool json = false;
  bool noWrap = false;
  bool allMisses = false;
  std::string language;  // --language, normalised ("none" stays); empty when not given
};

// Parses the arguments; nullopt after reporting a usage error (exitCode set).
std::optional<LookupRequest> parseLookup(std::vector<std::string> rest, CommandIo& io,
                                         int& exitCode) {
  LookupRequest request;
  request.json = takeFlag(rest, "--json");
  request.noWrap = takeFlag(rest, "--no-wrap");
  request.allMisses = takeFlag(rest, "--all");
  std::string why;
  auto names = takeDictionaryNames(rest, why);
  const auto parsed = names ? parseArguments(rest, {"--language"}, 1, SIZE_MAX, why) : std::nullopt;
  if (!parsed) {
    exitCode = usageError(io, kLookupUsage, why);
    return std::nullopt;
  }
  request.names = std::move(*names);
  request.files.assign(parsed->positional.begin(), parsed->positional.end() - 1);
  request.word = parsed->positional.back();
  // "lookup gcide.pvm" with the word forgotten: the path is no word to look up.
  if (request.files.empty() && looksLikeDictionaryFile(request.word)) {
    exitCode = usageError(io, kLookupUsage, "the word to look up is missing after " + request.word);
    return std::nullopt;
  }
  if (parsed->has("--language")) {
    const std::string& tag = parsed->option("--language");
    request.language = tag == "none" ? tag : normaliseLanguageTag(tag);
    if (request.language.empty()) {
      exitCode = usageError(io, kLookupUsage, "bad language '" + tag + "'");
      return std::nullopt;
    }
  }
  return request;
}

// Opens the dictionaries the request names: its files, or the installed ones that -d picks.
// Reports what fails; the exit code is set when nothing is left to search.
std::vector<OpenDictionary> openRequested(const LookupRequest& request, CommandIo& io,
                                          int& exitCode) {
  std::vector<OpenDictionary> dictionaries;
  const bool installed = request.files.empty();
  const std::vector<std::string> files = installed ? installedDictionaryFiles() : request.files;
  if (files.empty()) {
    exitCode = failure(io, "settings", "no dictionaries are installed");
    return dictionaries;
  }
  dictionaries.reserve(files.size());
  for (const std::string& file : files) {
    auto d = std::make_unique<Dictionary>();
    if (!openOrReport(*d, file, io)) continue;
    std::string title = toUtf8(d->title());
    if (title.empty()) title = baseName(file);
    const bool picked =
        !installed || request.names.empty() ||
        std::any_of(request.names.begin(), request.names.end(),
                    [&](const std::string& n) { return dictionaryNameMatches(n, title, file); });
    if (picked) dictionaries.push_back(openedDictionary(file, std::move(title), std::move(d)));
  }
  if (dictionaries.empty() && installed && !request.names.empty()) {
    exitCode = usageError(io, kLookupUsage, "no installed dictionary matches the -d names");
  } else if (dictionaries.empty()) {
    exitCode = kExitFailed;
  }
  return dictionaries;
}

// The terminal's width in columns, when stdout is one; 0 otherwise.
int terminalWidth(const CommandIo& io) {
  if (&io.out != &std::cout || ::isatty(STDOUT_FILENO) != 1) return 0;
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  const char* columns = std::getenv("COLUMNS");
  const auto parsed = columns ? parseUnsigned(columns) : std::nullopt;
  return parsed && *parsed > 0 && *parsed < 10000 ? static_cast<int>(*parsed) : 80;
}

}  // namespace

int runLookup(const std::vector<std::string>& args, CommandIo& io) {
  int exitCode = kExitOk;
  const std::optional<LookupRequest> request = parseLookup(args, io, exitCode);
  if (!request) return exitCode;
  std::vector<OpenDictionary> dictionaries = openRequested(*request, io, exitCode);
  if (dictionaries.empty()) return exitCode;

  TextForm form;
  const int width = request->json ? 0 : terminalWidth(io);
  // Styles only for a terminal, and not when the user asks for no colour.
  form.ansi = width > 0 && std::getenv("NO_COLOR") == nullptr;
  form.wrapWidth = request->noWrap ? 0 : width;
  form.allMisses = request->allMisses;
  WordHelp& help = freshWordHelp();
  if (!request->language.empty()) help.setLanguageOverride(request->language);
  Lookup lookup(dictionaries, request->json, form, help, io);
  bool allFound = true;
  if (request->word == "-") {
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
    allFound = lookup.lookUp(request->word);
  }
  lookup.flush();
  return allFound ? kExitOk : kExitNotFound;
}

}  // namespace lexora::cli
