// Engine benchmarks on a dictionary of 200,000 entries, built with DictionaryBuilder when the
// program starts: findWord with the list position, readMeaning of a block not in the cache
// (the file itself sits in the system's page cache) and of the cached block.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"

namespace lexora {
namespace {

constexpr uint32_t kEntries = 200000;

struct BenchDictionary {
  std::string folder;
  std::vector<std::u16string> words;  // in input order
  Dictionary dictionary;

  BenchDictionary() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lexora-bench-XXXXXX").string();
    folder = ::mkdtemp(pattern.data()) ? pattern : std::string("/tmp");
    std::mt19937 random(2024);
    const std::u16string letters = u"abcdefghijklmnopqrstuvwxyzéàçñ";
    DictionaryBuilder builder(kLatin1);
    builder.setTitle(u"Benchmark");
    for (uint32_t i = 0; i < kEntries; ++i) {
      std::u16string word;
      const size_t length = 4 + random() % 10;
      for (size_t k = 0; k < length; ++k) word += letters[random() % letters.size()];
      word += u'-' + std::u16string(1, u'a' + i % 26) + std::u16string(1, u'a' + (i / 26) % 26) +
              std::u16string(1, u'a' + (i / 676) % 26) + std::u16string(1, u'a' + (i / 17576) % 26);
      std::u16string meaning = u"@" + word + u"\r\n* noun\r\n";
      const size_t lines = 1 + random() % 5;
      for (size_t k = 0; k < lines; ++k) {
        meaning += u"- meaning line " + std::u16string(1, letters[random() % letters.size()]) +
                   u" of the entry, with some words\r\n=$an example+một ví dụ\r\n";
      }
      builder.add(word, meaning);
      words.push_back(std::move(word));
    }
    Status s = builder.finish(folder + "/bench.pvm");
    if (s.isOk()) s = dictionary.openDictionary(folder + "/bench.pvm");
    if (!s.isOk()) {
      std::fprintf(stderr, "cannot build the benchmark dictionary: %s\n", s.message().c_str());
      std::exit(1);
    }
  }
  ~BenchDictionary() {
    dictionary.closeDictionary();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

BenchDictionary& bench() {
  static BenchDictionary instance;
  return instance;
}

void BM_FindWordWithListPosition(benchmark::State& state) {
  BenchDictionary& b = bench();
  std::mt19937 random(1);
  uint32_t nearest = 0;
  uint32_t position = 0;
  int sign = 0;
  for (auto _ : state) {
    const std::u16string& key = b.words[random() % b.words.size()];
    // Half the keys are a prefix of a stored word, as while typing.
    const std::u16string_view typed =
        random() % 2 ? std::u16string_view(key) : std::u16string_view(key).substr(0, 3);
    if (!b.dictionary.findWord(typed, nearest, sign, &position).isOk())
      state.SkipWithError("find failed");
    benchmark::DoNotOptimize(position);
  }
}
BENCHMARK(BM_FindWordWithListPosition)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void BM_ReadMeaningColdBlock(benchmark::State& state) {
  BenchDictionary& b = bench();
  const uint32_t count = b.dictionary.wordCount();
  std::mt19937 random(2);
  std::u16string meaning;
  uint32_t previousBlockGuess = 0;
  for (auto _ : state) {
    // Entries far apart in input order lie in different blocks; the sorted table scatters
    // them, so consecutive random picks almost never share the cached block.
    uint32_t index = random() % count;
    if (index == previousBlockGuess) index = (index + count / 2) % count;
    previousBlockGuess = index;
    if (!b.dictionary.readMeaning(index, meaning).isOk()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(meaning.data());
  }
}
BENCHMARK(BM_ReadMeaningColdBlock)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void BM_ReadMeaningCachedBlock(benchmark::State& state) {
  BenchDictionary& b = bench();
  std::u16string meaning;
  const uint32_t index = b.dictionary.wordCount() / 3;
  if (!b.dictionary.readMeaning(index, meaning).isOk()) {
    state.SkipWithError("read failed");
    return;
  }
  for (auto _ : state) {
    if (!b.dictionary.readMeaning(index, meaning).isOk()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(meaning.data());
  }
}
BENCHMARK(BM_ReadMeaningCachedBlock)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void BM_BuildDictionary(benchmark::State& state) {
  BenchDictionary& b = bench();
  const std::string data = b.folder + "/rebuilt.pvm";
  for (auto _ : state) {
    DictionaryBuilder builder(kLatin1);
    for (const std::u16string& w : b.words) builder.add(w, u"- short meaning of the word");
    if (!builder.finish(data).isOk()) state.SkipWithError("build failed");
  }
}
BENCHMARK(BM_BuildDictionary)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lexora

BENCHMARK_MAIN();
