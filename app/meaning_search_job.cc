#include "app/meaning_search_job.h"

#include <filesystem>
#include <system_error>

#include "app/word_help.h"

#include "engine/dictionary.h"
#include "engine/file_format.h"
#include "engine/full_text_index.h"
#include "lexicon/file_stamp.h"
#include "lexicon/meaning_search.h"
#include "lexicon/suggestion_index.h"
#include "render/entry_outline.h"

namespace lexora {

std::u16string readableLine(const std::u16string& markupLine) {
  const std::vector<OutlineLine> outline = outlineEntry(markupLine);
  if (outline.empty()) return markupLine;
  const OutlineLine& shown = outline.front();
  std::u16string text = shown.text;
  if (shown.kind == LineKind::Headword && !shown.pronunciation.empty()) {
    text += u" /" + shown.pronunciation + u"/";
  }
  if (shown.hasTranslation) text += u" + " + shown.translation;
  const size_t start = text.find_first_not_of(u" \t");
  return start == std::u16string::npos ? markupLine : text.substr(start);
}

Status searchMeanings(std::u16string_view text, const std::vector<SearchedDictionary>& dictionaries,
                      const std::atomic<bool>& stop,
                      const std::function<void(const MeaningHit&)>& found) {
  std::unique_ptr<MeaningSearch> search;
  if (Status s = MeaningSearch::create(text, false, search, false); !s.isOk()) return s;
  Status first;
  MeaningHit hit;
  for (const SearchedDictionary& d : dictionaries) {
    if (stop) break;
    if (d.dictionary == nullptr || !d.dictionary->isOpen()) continue;
    hit.slot = d.slot;
    const Status s = search->run(*d.dictionary, [&](const MeaningMatch& match) {
      hit.position = match.position;
      hit.headword = match.headword;
      hit.line = readableLine(match.line);
      found(hit);
      return !stop;
    });
    if (first.isOk() && !s.isOk()) first = s;
  }
  return first;
}

namespace {

// A suggestion index for the dictionary's files as they are now: the one beside it, the one
// kept in keptFolder, or a new one put in either place.
void prepareSuggestions(Dictionary& dictionary, const std::string& keptFolder) {
  const std::string dataFile = dictionary.dataFileName();
  const std::optional<FileStamp> stamp = dictionaryFileStamp(dataFile);
  if (!stamp) return;
  const std::string beside = fileSetNames(dataFile).suggestionFile;
  const std::string kept = WordHelp::keptIndexFile(keptFolder, dataFile);
  if (SuggestionIndex::load(beside, *stamp) ||
      (!kept.empty() && SuggestionIndex::load(kept, *stamp)))
    return;
  std::unique_ptr<SuggestionIndex> index;
  if (!SuggestionIndex::build(dictionary, index).isOk()) return;
  index->setStamp(*stamp);
  if (index->save(beside) || kept.empty()) return;
  std::error_code ignored;
  std::filesystem::create_directories(keptFolder, ignored);
  index->save(kept);
}

}  // namespace

void prepareDerivedIndexes(
    const std::vector<SearchedDictionary>& dictionaries, const std::string& keptFolder,
    const std::atomic<bool>& stop,
    const std::function<void(int32_t slot, uint32_t done, uint32_t total)>& progress) {
  for (const SearchedDictionary& d : dictionaries) {
    if (stop) return;
    if (d.dictionary == nullptr || !d.dictionary->isOpen()) continue;
    prepareSuggestions(*d.dictionary, keptFolder);
    if (stop || d.dictionary->fullTextState() == Dictionary::FullTextState::Current) continue;
    // A build that fails or is stopped leaves the index stale: searches read the meanings.
    static_cast<void>(buildFullTextIndex(*d.dictionary, [&](uint32_t done, uint32_t total) {
      if (progress) progress(d.slot, done, total);
      return !stop;
    }));
  }
}

}  // namespace lexora
