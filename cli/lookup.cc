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
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/lookup_json.h"
#include "cli/lookup_request.h"
#include "cli/render_support.h"
#include "cli/terminal_text.h"
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
      buffer_.append("not in ")
          .append(counted(misses.size(), "other dictionary", "other dictionaries"))
          .append("\n\n");
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
    std::string line;
    size_t words = 0;
    while (std::getline(io.in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (normaliseLookupWord(fromUtf8(line)).empty()) continue;
      // A batch reads meanings in any order: from its second word on, keep the decompressed
      // blocks, least recently used out first, rather than inflating a block again for each
      // word. One word alone would only pay for the kept blocks' memory.
      if (++words == 2) {
        for (OpenDictionary& d : dictionaries) {
          d.dictionary->retainDecompressedBlocks(kBatchBlockBytes / dictionaries.size());
        }
      }
      allFound = lookup.lookUp(line) && allFound;
    }
  } else {
    allFound = lookup.lookUp(request->word);
  }
  lookup.flush();
  return allFound ? kExitOk : kExitNotFound;
}

}  // namespace lexora::cli
