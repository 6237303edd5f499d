#include "app/word_help.h"

#include <filesystem>
#include <system_error>

#include "app/dictionary_language.h"
#include "app/settings_schema.h"
#include "engine/dictionary.h"
#include "engine/file_format.h"
#include "lexicon/file_stamp.h"
#include "lexicon/suffix_rules.h"
#include "lexicon/word_forms.h"
#include "platform/registry_location.h"
#include "util/standard_utf8.h"

namespace lexora {
namespace {

// FNV-1a: a stable name for a path, the same in every build.
uint64_t pathHash(const std::string& path) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : path) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

std::string absolutePath(const std::string& file) {
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(file, ignored);
  return absolute.empty() ? file : absolute.lexically_normal().string();
}

// The longest of the candidates that the dictionary holds as a headword, spelt as it holds it;
// the first of equally long ones.
std::optional<BaseFormEntry> longestHeadword(Dictionary& dictionary,
                                             const std::vector<std::u16string>& candidates) {
  std::optional<BaseFormEntry> best;
  for (const std::u16string& base : candidates) {
    if (best && base.size() <= best->headword.size()) continue;
    uint32_t nearest = 0;
    int sign = 0;
    if (!dictionary.findWord(base, nearest, sign).isOk() || sign != 0) continue;
    std::vector<std::u16string> headword;
    if (!dictionary.readWords(nearest, 1, headword).isOk()) continue;
    best = BaseFormEntry{headword[0], nearest};
  }
  return best;
}

bool isEnglish(const std::string& tag) { return tag == "en" || tag.rfind("en_", 0) == 0; }

}  // namespace

WordHelp::WordHelp(Places places) : places_(std::move(places)) {}
WordHelp::~WordHelp() = default;

std::string WordHelp::defaultIndexFolder() {
  const std::string registry = defaultRegistryPath();
  if (registry.empty()) return {};
  return (std::filesystem::path(registry).parent_path() / "word-index").string();
}

const std::vector<HunspellFiles>& WordHelp::available() {
  if (!available_) available_ = availableHunspellDictionaries(places_.hunspellPath);
  return *available_;
}

std::string WordHelp::language(Dictionary& dictionary) {
  if (!override_.empty()) return override_;
  RegistryKey* settings = places_.settings ? places_.settings() : nullptr;
  if (settings == nullptr) return guessDictionaryLanguage(dictionary, available());
  return dictionaryLanguage(*settings, dictionary, available());
}

WordForms* WordHelp::wordForms(const std::string& tag) {
  const std::optional<HunspellFiles> files = hunspellForLanguage(tag, available());
  if (!files) return nullptr;
  auto it = forms_.find(files->name);
  if (it == forms_.end()) it = forms_.emplace(files->name, WordForms::open(*files)).first;
  return it->second.get();
}

WordForms* WordHelp::wordFormsFor(const std::string& tag, std::u16string_view word) {
  // Past this many words a whole load costs less than loading a part for each.
  constexpr int kPartialLoads = 2;
  const std::optional<HunspellFiles> files = hunspellForLanguage(tag, available());
  if (!files) return nullptr;
  if (forms_.contains(files->name) || oneWordLoads_ >= kPartialLoads) return wordForms(tag);
  if (oneWordForms_ && oneWordForms_->name() == files->name && oneWordForms_->covers(word))
    return oneWordForms_.get();
  ++oneWordLoads_;
  oneWordForms_ = WordForms::openForWord(*files, word);
  if (oneWordForms_ && oneWordForms_->isWhole()) {  // the files allowed no part
    return forms_.emplace(files->name, std::move(oneWordForms_)).first->second.get();
  }
  return oneWordForms_.get();
}

const IrregularForms* WordHelp::irregularForms() {
  if (!irregular_) {
    irregular_ =
        places_.wordListFolder.empty() ? nullptr : IrregularForms::open(places_.wordListFolder);
  }
  return irregular_->get();
}

std::optional<BaseFormEntry> WordHelp::baseFormEntry(Dictionary& dictionary,
                                                     std::u16string_view word) {
  if (!dictionary.isOpen() || dictionary.wordCount() == 0) return std::nullopt;
  const std::string tag = language(dictionary);
  if (tag.empty() || fromUtf8(tag) == schema::kNoLanguage) return std::nullopt;
  const bool english = isEnglish(tag);
  const IrregularForms* irregular = english ? irregularForms() : nullptr;
  if (irregular != nullptr) {
    if (auto entry = longestHeadword(dictionary, irregular->baseForms(word))) return entry;
  }
  std::vector<std::u16string> candidates;
  WordForms* forms = wordFormsFor(tag, word);
  if (forms != nullptr) candidates = forms->baseForms(word);
  // Endings are taken off words only, not off misspellings ("runing" is no form of "run").
  if (english && (forms == nullptr || forms->knows(word))) {
    for (std::u16string& base : englishSuffixBases(word)) candidates.push_back(std::move(base));
  }
  return longestHeadword(dictionary, candidates);
}

void WordHelp::prepare(Dictionary& dictionary) {
  if (!dictionary.isOpen() || dictionary.wordCount() == 0) return;
  // The whole Hunspell dictionary: a miss through it would load only the part it reaches.
  const std::string tag = language(dictionary);
  if (!tag.empty() && fromUtf8(tag) != schema::kNoLanguage) wordForms(tag);
  // One miss through it all loads the rest (the word lists, the suggestion index) and sets up
  // what the libraries prepare on their first use (ICU's normalisation data, Hunspell's affix
  // tables).
  static_cast<void>(variants(dictionary, u"qqxz"));
  static_cast<void>(baseFormEntry(dictionary, u"qqxz"));
  static_cast<void>(suggestions(dictionary, u"qqxz"));
}

std::string WordHelp::knownLanguage(Dictionary& dictionary) {
  if (!override_.empty()) return override_;
  RegistryKey* settings = places_.settings ? places_.settings() : nullptr;
  const std::string file = dictionary.dataFileName();
  std::string stored =
      settings != nullptr && !file.empty() ? storedDictionaryLanguage(*settings, file) : "";
  return stored.empty() ? languageNamedInTitle(dictionary.title()) : stored;
}

std::optional<BaseFormEntry> WordHelp::seeAlso(Dictionary& dictionary,
                                               std::u16string_view headword) {
  if (!dictionary.isOpen() || headword.size() < 3) return std::nullopt;
  const std::string tag = knownLanguage(dictionary);
  if (!isEnglish(tag)) return std::nullopt;
  if (const IrregularForms* irregular = irregularForms()) {
    if (auto entry = longestHeadword(dictionary, irregular->baseForms(headword))) return entry;
  }
  std::vector<std::u16string> candidates = englishSuffixBases(headword);
  std::erase_if(candidates, [&](const std::u16string& base) {
    const std::u16string_view rest = headword.substr(base.size());
    const bool undoubled = base.size() + 1 < headword.size() &&
                           headword[base.size()] == base.back() &&
                           (rest.substr(1) == u"ing" || rest.substr(1) == u"ed");
    const bool y =
        base.back() == u'y' && (headword.ends_with(u"ies") || headword.ends_with(u"ied"));
    return !undoubled && !y;
  });
  return longestHeadword(dictionary, candidates);
}

std::vector<BaseFormEntry> WordHelp::variants(Dictionary& dictionary, std::u16string_view word) {
  if (!dictionary.isOpen() || dictionary.wordCount() == 0) return {};
  const SuggestionIndex* index = suggestionIndex(dictionary);
  if (index == nullptr) return {};
  std::vector<BaseFormEntry> out;
  for (Suggestion& s : index->variants(word)) {
    out.push_back(BaseFormEntry{std::move(s.headword), s.position});
  }
  return out;
}

std::string WordHelp::keptIndexFile(const std::string& folder, const std::string& dataFile) {
  if (folder.empty()) return {};
  const std::string path = absolutePath(dataFile);
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(pathHash(path)));
  return folder + "/" + std::filesystem::path(path).stem().string() + "-" + hash + ".suggest";
}

const SuggestionIndex* WordHelp::suggestionIndex(Dictionary& dictionary) {
  const std::string dataFile = dictionary.dataFileName();
  const std::optional<FileStamp> stamp = dictionaryFileStamp(dataFile);
  auto& cached = indexes_[dataFile];
  if (cached && stamp && cached->stamp() == *stamp) return cached.get();
  cached.reset();
  // The index an import or install left beside the dictionary, else the one kept here.
  if (stamp) cached = SuggestionIndex::load(fileSetNames(dataFile).suggestionFile, *stamp);
  if (cached) return cached.get();
  const std::string file = keptIndexFile(places_.indexFolder, dataFile);
  if (stamp && !file.empty()) cached = SuggestionIndex::load(file, *stamp);
  if (cached) return cached.get();
  if (!places_.buildOnLookup || !SuggestionIndex::build(dictionary, cached).isOk()) return nullptr;
  if (stamp) cached->setStamp(*stamp);
  if (stamp && !file.empty()) {
    std::error_code ignored;
    std::filesystem::create_directories(places_.indexFolder, ignored);
    cached->save(file);  // a cache: when it cannot be kept it is built again next time
  }
  return cached.get();
}

std::vector<std::u16string> WordHelp::suggestions(Dictionary& dictionary,
                                                  std::u16string_view word) {
  if (!dictionary.isOpen() || dictionary.wordCount() == 0) return {};
  const SuggestionIndex* index = suggestionIndex(dictionary);
  if (index == nullptr) return {};
  std::vector<std::u16string> out;
  for (Suggestion& s : index->suggest(word)) out.push_back(std::move(s.headword));
  return out;
}

}  // namespace lexora
