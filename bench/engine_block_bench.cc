// Reading one entry from a block that is not in the cache, and what inflating a block costs:
// zlib's uncompress against libdeflate for a whole block, and zlib's streaming inflate for
// the first N bytes of one. Runs on the dictionary named by LEXORA_BENCH_DICT (for example
// gcide imported with `lexora-cli import dictd`), or on a generated one of prose-like text.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/block_inflater.h"
#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "engine/file_format.h"

namespace lexora {
namespace {

std::vector<uint8_t> readAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct BlockBench {
  std::string folder;  // scratch folder of the generated dictionary, if any
  std::string data;
  std::vector<std::vector<uint8_t>> compressed;  // every block's zlib stream
  std::vector<WordRecord> records;               // the word table
  Dictionary dictionary;

  BlockBench() {
    if (const char* given = std::getenv("LEXORA_BENCH_DICT"); given != nullptr && *given) {
      data = given;
    } else {
      build();
    }
    const FileSetNames names = fileSetNames(data);
    const std::vector<uint8_t> index = readAll(names.indexFile);
    const std::vector<uint8_t> bytes = readAll(data);
    if (index.size() < WORD_TABLE_OFFSET) fail("the index file is too short");
    const DictionaryHeader header = DictionaryHeader::decodeFrom(index.data());
    for (uint32_t b = 0; b <= header.lastBlock; ++b) {
      const BlockRecord r = BlockRecord::decodeFrom(index.data() + BlockRecord::fileOffset(b));
      if (size_t{r.offset} + r.length > bytes.size()) fail("a block lies past the data file");
      compressed.emplace_back(bytes.begin() + r.offset, bytes.begin() + r.offset + r.length);
    }
    for (uint32_t i = 0; i < header.wordCount; ++i) {
      records.push_back(WordRecord::decodeFrom(index.data() + WordRecord::fileOffset(i)));
    }
    if (Status s = dictionary.openDictionary(data); !s.isOk()) fail(s.message());
  }
  ~BlockBench() {
    dictionary.closeDictionary();
    if (!folder.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    }
  }

  static void fail(const std::string& why) {
    std::fprintf(stderr, "block benchmark: %s\n", why.c_str());
    std::exit(1);
  }

  void build() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lexora-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) fail("no scratch folder");
    folder = pattern;
    data = folder + "/prose.pvm";
    // Words of varied length and frequency, so the blocks compress about as well as a real
    // dictionary's text (3 to 4 times).
    std::mt19937 random(7);
    std::vector<std::u16string> vocabulary;
    for (int i = 0; i < 5000; ++i) {
      std::u16string w;
      const int length = 2 + static_cast<int>(random() % 9);
      for (int k = 0; k < length; ++k) w += static_cast<char16_t>(u'a' + random() % 26);
      vocabulary.push_back(std::move(w));
    }
    std::geometric_distribution<int> pick(0.004);
    DictionaryBuilder builder(kLatin1);
    for (int i = 0; i < 20000; ++i) {
      std::u16string word = vocabulary[static_cast<size_t>(i) % vocabulary.size()] + u"-" +
                            std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) +
                            std::u16string(1, static_cast<char16_t>(u'a' + (i / 26) % 26)) +
                            std::u16string(1, static_cast<char16_t>(u'a' + (i / 676) % 26));
      std::u16string meaning = u"@" + word + u"\r\n* noun\r\n- ";
      const int words = 20 + static_cast<int>(random() % 120);
      for (int k = 0; k < words; ++k) {
        meaning += vocabulary[static_cast<size_t>(pick(random)) % vocabulary.size()];
        meaning += k % 15 == 14 ? u".\r\n- " : u" ";
      }
      builder.add(word, meaning);
    }
    if (Status s = builder.finish(data); !s.isOk()) fail(s.message());
  }

  // Entries that lie in one block, with the end of their bytes in the given fifth of it
  // (0: the first fifth ... 4: the last); at most one per block, so that reading them in turn
  // never finds the block in the cache.
  std::vector<uint32_t> entriesEndingIn(int fifth) const {
    std::vector<uint32_t> chosen;
    std::vector<bool> used(compressed.size(), false);
    for (uint32_t i = 0; i < records.size(); ++i) {
      const WordRecord& r = records[i];
      const uint32_t end = uint32_t{r.offset} + r.meaningLength;
      if (r.block >= used.size() || used[r.block] || r.meaningLength == 0 || end > BLOCK_CAPACITY)
        continue;
      if (static_cast<int>(end * 5 / (BLOCK_CAPACITY + 1)) != fifth) continue;
      used[r.block] = true;
      chosen.push_back(i);
    }
    return chosen;
  }
};

BlockBench& bench() {
  static BlockBench instance;
  return instance;
}

void BM_InflateWholeBlockZlib(benchmark::State& state) {
  BlockBench& b = bench();
  std::vector<uint8_t> out(CACHE_SIZE);
  size_t next = 0;
  for (auto _ : state) {
    const std::vector<uint8_t>& in = b.compressed[next++ % b.compressed.size()];
    uLongf length = out.size();
    if (uncompress(out.data(), &length, in.data(), in.size()) != Z_OK) state.SkipWithError("zlib");
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_InflateWholeBlockZlib)->Unit(benchmark::kMicrosecond);

void BM_InflateWholeBlockLibdeflate(benchmark::State& state) {
  BlockBench& b = bench();
  BlockInflater inflater;
  std::vector<uint8_t> out(CACHE_SIZE);
  size_t next = 0;
  for (auto _ : state) {
    const std::vector<uint8_t>& in = b.compressed[next++ % b.compressed.size()];
    uint32_t length = 0;
    if (!inflater.inflateWhole(in.data(), in.size(), out.data(), out.size(), length)) {
      state.SkipWithError("libdeflate");
    }
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_InflateWholeBlockLibdeflate)->Unit(benchmark::kMicrosecond);

// The first N bytes of a block through zlib's streaming inflate.
void BM_InflateBlockStart(benchmark::State& state) {
  BlockBench& b = bench();
  BlockInflater inflater;
  std::vector<uint8_t> out(CACHE_SIZE);
  const uint32_t wanted = static_cast<uint32_t>(state.range(0));
  size_t next = 0;
  for (auto _ : state) {
    const std::vector<uint8_t>& in = b.compressed[next++ % b.compressed.size()];
    uint32_t length = 0;
    bool complete = false;
    if (!inflater.inflatePrefix(in.data(), in.size(), out.data(), wanted, length, complete)) {
      state.SkipWithError("zlib");
    }
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_InflateBlockStart)
    ->Arg(2048)
    ->Arg(8192)
    ->Arg(16384)
    ->Arg(24576)
    ->Arg(32768)
    ->Unit(benchmark::kMicrosecond);

// readMeaning of one entry whose block is not in the cache (the files sit in the system's
// page cache), by where in its block the entry ends: 0 the first fifth ... 4 the last.
void BM_ReadEntryColdBlock(benchmark::State& state) {
  BlockBench& b = bench();
  const std::vector<uint32_t> entries = b.entriesEndingIn(static_cast<int>(state.range(0)));
  if (entries.size() < 2) {
    state.SkipWithError("too few blocks with such entries");
    return;
  }
  std::u16string meaning;
  size_t next = 0;
  for (auto _ : state) {
    if (!b.dictionary.readMeaning(entries[next++ % entries.size()], meaning).isOk()) {
      state.SkipWithError("read failed");
    }
    benchmark::DoNotOptimize(meaning.data());
  }
}
BENCHMARK(BM_ReadEntryColdBlock)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lexora
