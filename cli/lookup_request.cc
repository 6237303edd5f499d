#include "cli/lookup_request.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/dictionary_choice.h"
#include "cli/render_support.h"
#include "cli/terminal_text.h"
#include "engine/collation.h"
#include "lexicon/hunspell_files.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {

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

std::string baseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

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

int terminalWidth(const CommandIo& io) {
  if (!writesToTerminal(io)) return 0;
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  const char* columns = std::getenv("COLUMNS");
  const auto parsed = columns ? parseUnsigned(columns) : std::nullopt;
  return parsed && *parsed > 0 && *parsed < 10000 ? static_cast<int>(*parsed) : 80;
}

}  // namespace lexora::cli
