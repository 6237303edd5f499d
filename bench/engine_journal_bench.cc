// What the rollback journal costs per add: addEntry on a dictionary of 20,000 entries, once
// as shipped and once through a file system that drops the journal (its file, its flush and
// the folder flushes), so that the difference is the journal's whole cost. The dictionary's
// own flushes stay in both.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "engine/file.h"

namespace lexora {
namespace {

// A journal file that goes nowhere.
class NullFile : public File {
 public:
  explicit NullFile(std::string name) : name_(std::move(name)) {}
  const std::string& name() const override { return name_; }
  bool isReadOnly() const override { return false; }
  Status readSome(uint64_t, void*, size_t, size_t& done) override {
    done = 0;
    return Status::ok();
  }
  Status write(uint64_t, const void*, size_t count) override {
    bytes_ += count;
    return Status::ok();
  }
  Status size(uint64_t& bytes) override {
    bytes = 0;
    return Status::ok();
  }
  Status truncate(uint64_t) override { return Status::ok(); }
  Status sync() override { return Status::ok(); }
  Status lock() override { return Status::ok(); }
  Status identity(uint64_t& device, uint64_t& inode) override {
    device = inode = 0;
    return Status::ok();
  }
  static inline uint64_t bytes_ = 0;

 private:
  std::string name_;
};

// The system's files, but no journal and no folder flushes.
class NoJournalFileSystem : public FileSystem {
 public:
  Status open(const std::string& path, OpenMode mode, std::unique_ptr<File>& file) override {
    if (isJournal(path)) {
      if (mode == OpenMode::ReadOnly) return Status::notFound(path);
      file = std::make_unique<NullFile>(path);
      return Status::ok();
    }
    return systemFileSystem().open(path, mode, file);
  }
  Status remove(const std::string& path) override {
    return isJournal(path) ? Status::ok() : systemFileSystem().remove(path);
  }
  Status syncFolder(const std::string&) override { return Status::ok(); }

 private:
  static bool isJournal(const std::string& path) {
    return path.size() > 8 && path.compare(path.size() - 8, 8, "-journal") == 0;
  }
};

std::string scratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lexora-bench-XXXXXX").string();
  return ::mkdtemp(pattern.data()) ? pattern : std::string("/tmp");
}

void addEntries(benchmark::State& state, FileSystem& fs) {
  const std::string folder = scratchFolder();
  const std::string file = folder + "/journal.pvm";
  std::mt19937 random(7);
  {
    DictionaryBuilder builder(kLatin1);
    for (uint32_t i = 0; i < 20000; ++i) {
      builder.add(u"w" + std::u16string(1, u'a' + i % 26) + std::u16string(1, u'a' + i / 26 % 26) +
                      std::u16string(1, u'a' + i / 676 % 26),
                  u"- meaning " + std::u16string(40 + random() % 80, u'a' + random() % 26));
    }
    builder.finish(file);
  }
  Dictionary d(fs);
  if (Status s = d.openDictionary(file); !s.isOk()) state.SkipWithError(s.message().c_str());
  uint32_t n = 0;
  for (auto _ : state) {
    std::u16string word = u"new";
    for (uint32_t k = ++n; k > 0; k /= 26) word += char16_t(u'a' + k % 26);
    std::u16string meaning = u"@" + word + u"\r\n* noun\r\n- a new entry of some length, ";
    for (int k = 0; k < 6; ++k) meaning += char16_t(u'a' + random() % 26);
    if (EditStatus s = d.addEntry(word, meaning); !s.isOk())
      state.SkipWithError(s.message().c_str());
  }
  d.closeDictionary();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

void BM_AddEntryWithJournal(benchmark::State& state) { addEntries(state, systemFileSystem()); }
BENCHMARK(BM_AddEntryWithJournal)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(300)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

void BM_AddEntryWithoutJournal(benchmark::State& state) {
  static NoJournalFileSystem fs;
  addEntries(state, fs);
}
BENCHMARK(BM_AddEntryWithoutJournal)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(300)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace lexora
