#include "app/word_help.h"

#include <filesystem>
#include <system_error>

#include "app/dictionary_language.h"
#include "app/settings_schema.h"
#include "engine/dictionary.h"
#include "engine/file_format.h"
#include "lexicon/file_stamp.h"
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

WordForms* WordHelp::wordForms(Dictionary& dictionary) {
  const std::string tag = language(dictionary);
  if (tag.empty() || fromUtf8(tag) == schema::kNoLanguage) return nullptr;
  const std::optional<HunspellFiles> files = hunspellForLanguage(tag, available());
  if (!files) return nullptr;
  auto it = forms_.find(files->name);
  if (it == forms_.end()) it = forms_.emplace(files->name, WordForms::open(*files)).first;
  return it->second.get();
}

std::optional<BaseFormEntry> WordHelp::baseFormEntry(Dictionary& dictionary,
                                                     std::u16string_view word) {
  if (!dictionary.isOpen() || dictionary.wordCount() == 0) return std::nullopt;
  WordForms* forms = wordForms(dictionary);
  if (forms == nullptr) return std::nullopt;
  for (const std::u16string& base : forms->baseForms(word)) {
    uint32_t nearest = 0;
    int sign = 0;
    if (!dictionary.findWord(base, nearest, sign).isOk() || sign != 0) continue;
    std::vector<std::u16string> headword;
    if (!dictionary.readWords(nearest, 1, headword).isOk()) continue;
    return BaseFormEntry{headword[0], nearest};
  }
  return std::nullopt;
}

std::string WordHelp::keptIndexFile(const std::string& folder, const std::string& dataFile) {
  if (folder.empty()) return {};
  const std::string path = absolutePath(dataFile);
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(pathHash(path)));
  return folder + "/" + std::filesystem::path(path).stem().string() + "-" + hash + ".suggest";
}

const SuggestionIndex* WordHelp::suggestionIndex(Dictionary& dictionary) {
  const std::string& dataFile = dictionary.dataFileName();
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
