#include "app/dictionary_language.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/registry_key.h"
#include "app/settings_schema.h"
#include "engine/collation.h"
#include "engine/dictionary.h"
#include "lexicon/word_forms.h"
#include "util/standard_utf8.h"

namespace lexora {
namespace {

constexpr uint32_t kSampleSize = 200;

// Named by the absolute path, so that "en.pvm" and "./en.pvm" share their setting.
std::u16string valueName(const std::string& dataFile) {
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(dataFile, ignored);
  const std::string path = absolute.empty() ? dataFile : absolute.lexically_normal().string();
  return std::u16string(schema::kLanguagePrefix) + fromUtf8(path);
}

struct LanguageName {
  const char16_t* name;  // lower case
  const char* tag;
};

// Language names as titles write them, in English and in the language itself.
constexpr LanguageName kLanguageNames[] = {
    {u"english", "en"},   {u"french", "fr"},     {u"français", "fr"},   {u"francais", "fr"},
    {u"german", "de"},    {u"deutsch", "de"},    {u"spanish", "es"},    {u"español", "es"},
    {u"espanol", "es"},   {u"italian", "it"},    {u"italiano", "it"},   {u"portuguese", "pt"},
    {u"português", "pt"}, {u"dutch", "nl"},      {u"nederlands", "nl"}, {u"russian", "ru"},
    {u"русский", "ru"},   {u"vietnamese", "vi"}, {u"việt", "vi"},       {u"polish", "pl"},
    {u"polski", "pl"},    {u"swedish", "sv"},    {u"svenska", "sv"},    {u"danish", "da"},
    {u"dansk", "da"},     {u"norwegian", "nb"},  {u"czech", "cs"},      {u"čeština", "cs"},
    {u"hungarian", "hu"}, {u"magyar", "hu"},     {u"ukrainian", "uk"},  {u"українська", "uk"},
    {u"turkish", "tr"},   {u"türkçe", "tr"},     {u"greek", "el"},      {u"romanian", "ro"},
    {u"română", "ro"},    {u"finnish", "fi"},    {u"suomi", "fi"},
};

// Letters of the Latin, Greek and Cyrillic scripts (the ones the names above use).
bool isLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
         (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x370 && c <= 0x52F) ||
         (c >= 0x1E00 && c <= 0x1EFF);
}

bool isVietnameseLetter(char16_t c) {
  return c == 0x0110 || c == 0x0111 || c == 0x0102 || c == 0x0103 || c == 0x01A0 || c == 0x01A1 ||
         c == 0x01AF || c == 0x01B0 || (c >= 0x1EA0 && c <= 0x1EF9);
}

bool isCyrillic(char16_t c) { return c >= 0x0400 && c <= 0x04FF; }

// Headwords spread evenly over the dictionary.
std::vector<std::u16string> sampleHeadwords(Dictionary& dictionary) {
  const uint32_t count = dictionary.wordCount();
  std::vector<std::u16string> sample;
  std::vector<std::u16string> one;
  const uint32_t step = std::max<uint32_t>(1, count / kSampleSize);
  for (uint32_t i = 0; i < count && sample.size() < kSampleSize; i += step) {
    if (dictionary.readWords(i, 1, one).isOk() && !one[0].empty()) sample.push_back(one[0]);
  }
  return sample;
}

// Words a spelling dictionary can judge: letters only (an apostrophe or hyphen inside).
bool isPlainWord(std::u16string_view word) {
  if (word.empty() || !isLetter(word.front())) return false;
  return std::all_of(word.begin(), word.end(),
                     [](char16_t c) { return isLetter(c) || c == u'\'' || c == u'-'; });
}

}  // namespace

std::string storedDictionaryLanguage(RegistryKey& key, const std::string& dataFile) {
  return toUtf8(key.readString(valueName(dataFile).c_str()));
}

bool storeDictionaryLanguage(RegistryKey& key, const std::string& dataFile,
                             const std::string& language) {
  const std::u16string name = valueName(dataFile);
  if (language.empty()) return key.deleteValue(name.c_str()) || !key.valueExists(name.c_str());
  return key.writeString(name.c_str(), fromUtf8(language).c_str());
}

std::string languageNamedInTitle(std::u16string_view title) {
  std::u16string lowered(title);
  for (char16_t& c : lowered) c = towlowerUnit(c);
  size_t bestAt = std::u16string::npos;
  std::string best;
  for (const LanguageName& language : kLanguageNames) {
    const std::u16string_view name(language.name);
    for (size_t at = lowered.find(name); at != std::u16string::npos;
         at = lowered.find(name, at + 1)) {
      const bool startsWord = at == 0 || !isLetter(lowered[at - 1]);
      const size_t end = at + name.size();
      const bool endsWord = end == lowered.size() || !isLetter(lowered[end]);
      if (startsWord && endsWord) {
        if (at < bestAt) {
          bestAt = at;
          best = language.tag;
        }
        break;
      }
    }
  }
  return best;
}

std::string guessDictionaryLanguage(Dictionary& dictionary,
                                    const std::vector<HunspellFiles>& available) {
  std::string named = languageNamedInTitle(dictionary.title());
  if (!named.empty()) return named;
  const std::vector<std::u16string> sample = sampleHeadwords(dictionary);
  if (sample.empty()) return toUtf8(schema::kNoLanguage);
  size_t vietnamese = 0;
  size_t cyrillic = 0;
  for (const std::u16string& word : sample) {
    if (std::any_of(word.begin(), word.end(), isVietnameseLetter)) ++vietnamese;
    if (std::any_of(word.begin(), word.end(), isCyrillic)) ++cyrillic;
  }
  if (cyrillic * 2 >= sample.size()) return "ru";
  if (vietnamese * 5 >= sample.size()) return "vi";
  std::vector<std::u16string> plain;
  std::copy_if(sample.begin(), sample.end(), std::back_inserter(plain), isPlainWord);
  std::string best = toUtf8(schema::kNoLanguage);
  size_t bestKnown = 0;
  if (plain.empty()) return best;
  for (const HunspellFiles& files : available) {
    std::unique_ptr<WordForms> forms = WordForms::open(files);
    if (!forms) continue;
    const size_t known = static_cast<size_t>(std::count_if(
        plain.begin(), plain.end(), [&](const std::u16string& w) { return forms->knows(w); }));
    if (known * 2 >= plain.size() && known > bestKnown) {
      bestKnown = known;
      best = files.name;
    }
  }
  return best;
}

std::string dictionaryLanguage(RegistryKey& key, Dictionary& dictionary,
                               const std::vector<HunspellFiles>& available) {
  const std::string file = dictionary.dataFileName();
  std::string language = file.empty() ? std::string() : storedDictionaryLanguage(key, file);
  if (!language.empty()) return language;
  language = guessDictionaryLanguage(dictionary, available);
  if (!file.empty()) storeDictionaryLanguage(key, file, language);
  return language;
}

std::string missingLanguageData(const std::string& language,
                                const std::vector<HunspellFiles>& available) {
  if (language.empty() || language == toUtf8(schema::kNoLanguage)) return {};
  if (hunspellForLanguage(language, available)) return {};
  std::string out = "no Hunspell dictionary for " + language;
  const std::string package = hunspellPackage(language);
  if (!package.empty()) out += ": install the Debian package " + package;
  return out;
}

std::optional<std::string> languageFromField(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return std::string();
  if (text == toUtf8(schema::kNoLanguage)) return std::string(text);
  std::string tag = normaliseLanguageTag(text);
  if (tag.empty()) return std::nullopt;
  return tag;
}

LanguageStore settingsLanguageStore(const std::function<RegistryKey&()>& key) {
  LanguageStore store;
  store.read = [key](const std::string& file) { return storedDictionaryLanguage(key(), file); };
  store.write = [key](const std::string& file, const std::string& language) {
    return storeDictionaryLanguage(key(), file, language);
  };
  store.missing = [](const std::string& language) {
    return missingLanguageData(language, availableHunspellDictionaries());
  };
  return store;
}

}  // namespace lexora
