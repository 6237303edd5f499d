// Benchmarks of the help a lookup gives on a miss, on a generated dictionary of 200,000
// headwords made of English-like syllables (so that words have many near neighbours, as in a
// real dictionary): spelling suggestions for a misspelt word, the other spellings of a word
// typed without accents, loading and building the suggestion index, base forms through
// Hunspell, and a full-text search of every meaning.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "lexicon/file_stamp.h"
#include "lexicon/hunspell_files.h"
#include "lexicon/meaning_search.h"
#include "lexicon/suggestion_index.h"
#include "lexicon/word_forms.h"

namespace lexora {
namespace {

constexpr size_t kWords = 200000;

std::u16string syllable(std::mt19937& random) {
  static const std::vector<std::u16string> onsets = {
      u"",  u"b", u"c", u"d", u"f",  u"g",  u"h",  u"j",  u"k",  u"l",  u"m",  u"n",  u"p",  u"r",
      u"s", u"t", u"v", u"w", u"st", u"tr", u"pl", u"br", u"ch", u"sh", u"th", u"gr", u"cl", u"fr"};
  static const std::vector<std::u16string> nuclei = {u"a",  u"e",  u"i",  u"o",  u"u", u"ea",
                                                     u"ou", u"io", u"ai", u"ee", u"é"};
  static const std::vector<std::u16string> codas = {u"",  u"",   u"n",  u"r", u"s",  u"t",
                                                    u"l", u"ng", u"ck", u"m", u"nd", u"st"};
  return onsets[random() % onsets.size()] + nuclei[random() % nuclei.size()] +
         codas[random() % codas.size()];
}

// A misspelling one or two edits away from word.
std::u16string misspell(std::u16string word, std::mt19937& random) {
  const int edits = 1 + static_cast<int>(random() % 2);
  for (int e = 0; e < edits && word.size() > 1; ++e) {
    const size_t at = random() % word.size();
    switch (random() % 4) {
      case 0:
        word.erase(at, 1);
        break;
      case 1:
        word.insert(at, 1, static_cast<char16_t>(u'a' + random() % 26));
        break;
      case 2:
        word[at] = static_cast<char16_t>(u'a' + random() % 26);
        break;
      default:
        if (at + 1 < word.size()) std::swap(word[at], word[at + 1]);
    }
  }
  return word;
}

struct BenchData {
  std::string folder;
  std::vector<std::u16string> words;
  std::vector<std::u16string> misspelt;
  std::unique_ptr<SuggestionIndex> index;
  Dictionary dictionary;

  BenchData() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lexora-lexicon-bench-XXXXXX").string();
    folder = ::mkdtemp(pattern.data()) ? pattern : std::string("/tmp");
    std::mt19937 random(7);
    std::set<std::u16string> unique;
    while (unique.size() < kWords) {
      std::u16string word;
      const int syllables = 1 + static_cast<int>(random() % 4);
      for (int s = 0; s < syllables; ++s) word += syllable(random);
      unique.insert(word);
    }
    words.assign(unique.begin(), unique.end());
    std::shuffle(words.begin(), words.end(), random);
    for (int i = 0; i < 1000; ++i)
      misspelt.push_back(misspell(words[random() % words.size()], random));
    DictionaryBuilder builder(kLatin1);
    for (const std::u16string& w : words) {
      builder.add(w, u"@" + w + u"\r\n* noun\r\n- a made-up word, the " + w.substr(0, 3) +
                         u" of the bench\r\n=$an example+một ví dụ");
    }
    if (!builder.finish(folder + "/bench.pvm").isOk() ||
        !dictionary.openDictionary(folder + "/bench.pvm").isOk()) {
      std::fprintf(stderr, "cannot build the benchmark dictionary\n");
      std::exit(1);
    }
    if (!SuggestionIndex::build(dictionary, index).isOk()) {
      std::fprintf(stderr, "cannot build the suggestion index\n");
      std::exit(1);
    }
    index->setStamp(*dictionaryFileStamp(folder + "/bench.pvm"));
    index->save(folder + "/bench.suggest");
  }
  ~BenchData() {
    dictionary.closeDictionary();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

BenchData& data() {
  static BenchData instance;
  return instance;
}

void BM_SuggestMisspelt(benchmark::State& state) {
  BenchData& d = data();
  size_t i = 0;
  size_t found = 0;
  for (auto _ : state) {
    auto suggestions = d.index->suggest(d.misspelt[i++ % d.misspelt.size()]);
    found += suggestions.size();
    benchmark::DoNotOptimize(suggestions);
  }
  state.counters["suggestions"] =
      benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SuggestMisspelt)->Unit(benchmark::kMicrosecond);

// The spellings of a word typed without its accents ("é" in a fifth of the syllables).
void BM_SpellingVariants(benchmark::State& state) {
  BenchData& d = data();
  std::vector<std::u16string> typed;
  for (size_t i = 0; i < d.words.size() && typed.size() < 1000; i += 97) {
    std::u16string plain = d.words[i];
    std::replace(plain.begin(), plain.end(), u'\u00e9', u'e');
    typed.push_back(std::move(plain));
  }
  size_t i = 0;
  size_t found = 0;
  for (auto _ : state) {
    auto variants = d.index->variants(typed[i++ % typed.size()]);
    found += variants.size();
    benchmark::DoNotOptimize(variants);
  }
  state.counters["variants"] =
      benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SpellingVariants)->Unit(benchmark::kMicrosecond);

void BM_SuggestionIndexLoad(benchmark::State& state) {
  BenchData& d = data();
  const FileStamp stamp = *dictionaryFileStamp(d.folder + "/bench.pvm");
  for (auto _ : state) {
    auto index = SuggestionIndex::load(d.folder + "/bench.suggest", stamp);
    if (!index) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(index);
  }
}
BENCHMARK(BM_SuggestionIndexLoad)->Unit(benchmark::kMillisecond);

void BM_SuggestionIndexBuild(benchmark::State& state) {
  BenchData& d = data();
  for (auto _ : state) {
    std::unique_ptr<SuggestionIndex> index;
    if (!SuggestionIndex::build(d.dictionary, index).isOk()) state.SkipWithError("build failed");
    benchmark::DoNotOptimize(index);
  }
}
BENCHMARK(BM_SuggestionIndexBuild)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BaseForms(benchmark::State& state) {
  const auto files = hunspellForLanguage("en", availableHunspellDictionaries());
  std::unique_ptr<WordForms> forms = files ? WordForms::open(*files) : nullptr;
  if (!forms) {
    state.SkipWithError("no English Hunspell dictionary");
    return;
  }
  const std::vector<std::u16string> typed = {u"running", u"studies", u"houses",
                                             u"walked",  u"happier", u"qwzx"};
  size_t i = 0;
  for (auto _ : state) {
    auto bases = forms->baseForms(typed[i++ % typed.size()]);
    benchmark::DoNotOptimize(bases);
  }
}
BENCHMARK(BM_BaseForms)->Unit(benchmark::kMicrosecond);

void BM_MeaningSearch(benchmark::State& state) {
  BenchData& d = data();
  std::unique_ptr<MeaningSearch> search;
  if (!MeaningSearch::create(u"made-up word, the sta of", false, search).isOk()) {
    state.SkipWithError("bad search text");
    return;
  }
  size_t matches = 0;
  for (auto _ : state) {
    matches = 0;
    if (!search->run(d.dictionary, [&](const MeaningMatch&) { return ++matches, true; }).isOk()) {
      state.SkipWithError("search failed");
    }
  }
  state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK(BM_MeaningSearch)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace lexora

BENCHMARK_MAIN();
