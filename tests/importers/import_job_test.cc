// The import job: sources larger than one dictionary, volumes, cancelling, and what a failed
// or cancelled import leaves behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/dictionary.h"
#include "importers/import_job.h"
#include "tests/support/status_assertions.h"
#include "util/standard_utf8.h"

namespace lexora::importers {
namespace {

namespace fs = std::filesystem;

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "lexora-job-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(path_)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }

 private:
  std::string path_;
};

// 60 entries of 1000 bytes each, headwords w00 ... w59 given in reverse order.
std::string sixtyEntries() {
  std::string tsv;
  for (int i = 59; i >= 0; --i) {
    tsv += "w" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "\t- " +
           std::string(998, 'a' + i % 26) + "\n";
  }
  return tsv;
}

ImportOutcome importText(const std::string& tsv, const std::string& dataFile, ImportOptions options,
                         const ProgressFunction& progress = {}) {
  std::istringstream in(tsv);
  return importSource(SourceKind::Tsv, "-", &in, dataFile, options, progress);
}

TEST(ImportJob, TooMuchTextIsRefusedWithTheLimitNamed) {
  ScratchFolder dir;
  ImportOptions options;
  options.meaningLimit = 20000;
  const ImportOutcome r = importText(sixtyEntries(), dir.file("big.pvm"), options);
  EXPECT_EQ(r.result, ImportResult::Failed);
  EXPECT_EQ(r.status.code(), Status::Code::InvalidArgument);
  EXPECT_NE(r.status.message().find("1023 blocks"), std::string::npos) << r.status.message();
  EXPECT_NE(r.status.message().find("--split"), std::string::npos);
  EXPECT_TRUE(dir.names().empty());
}

TEST(ImportJob, SplitWritesVolumesByHeadwordRange) {
  ScratchFolder dir;
  ImportOptions options;
  options.meaningLimit = 20000;
  options.split = true;
  options.title = u"Big";
  const ImportOutcome r = importText(sixtyEntries(), dir.file("big.pvm"), options);
  ASSERT_EQ(r.result, ImportResult::Done) << r.status.message();
  EXPECT_EQ(r.imported, 60u);
  ASSERT_EQ(r.dataFiles.size(), 3u);  // 20 000 bytes hold 20 entries
  EXPECT_EQ(r.dataFiles[1], dir.file("big-2.pvm"));
  std::u16string previousLast;
  uint32_t total = 0;
  for (const std::string& f : r.dataFiles) {
    Dictionary d;
    ASSERT_OK(d.openDictionary(f)) << f;
    std::vector<std::u16string> words;
    d.readWords(0, d.wordCount(), words);
    ASSERT_FALSE(words.empty());
    EXPECT_LT(previousLast, words.front());
    previousLast = words.back();
    total += d.wordCount();
    EXPECT_EQ(d.title().rfind(u"Big ", 0), 0u);
  }
  EXPECT_EQ(total, 60u);
  Dictionary second;
  ASSERT_OK(second.openDictionary(r.dataFiles[1]));
  EXPECT_EQ(second.title(), u"Big 2 (w20 \u2013 w39)");
}

TEST(ImportJob, CancelledImportLeavesAnOlderDictionaryWhole) {
  ScratchFolder dir;
  const std::string data = dir.file("d.pvm");
  ASSERT_EQ(importText("old\t- kept\n", data, {}).result, ImportResult::Done);
  const auto before = dir.names();

  // A big source, cancelled at the first progress report.
  std::string tsv;
  for (int i = 0; i < 10000; ++i) tsv += "n" + std::to_string(i) + "\tx\n";
  const ImportOutcome r = importText(tsv, data, {}, [](uint64_t, uint64_t) { return false; });
  EXPECT_EQ(r.result, ImportResult::Cancelled);
  EXPECT_EQ(dir.names(), before);
  Dictionary d;
  ASSERT_OK(d.openDictionary(data));
  EXPECT_EQ(d.wordCount(), 1u);

  // A failed import (no such source) changes nothing either.
  const ImportOutcome missing =
      importSource(SourceKind::Stardict, dir.file("none.ifo"), nullptr, data, {});
  EXPECT_EQ(missing.result, ImportResult::Failed);
  EXPECT_EQ(dir.names(), before);
}

TEST(ImportJob, SourceKindsAreToldByNameAndContent) {
  ScratchFolder dir;
  EXPECT_EQ(detectSourceKind("x/book.ifo"), SourceKind::Stardict);
  EXPECT_EQ(detectSourceKind("x/gcide.index"), SourceKind::Dictd);
  EXPECT_EQ(detectSourceKind("x/gcide.dict.dz"), SourceKind::Dictd);
  std::ofstream(dir.file("words.txt")) << "a\tb\n";
  std::ofstream(dir.file("notes.txt")) << "just text\n";
  EXPECT_EQ(detectSourceKind(dir.file("words.txt")), SourceKind::Tsv);
  EXPECT_FALSE(detectSourceKind(dir.file("notes.txt")));
  EXPECT_EQ(volumeFileName("/a/en.pvm", 3), "/a/en-3.pvm");
}

}  // namespace
}  // namespace lexora::importers
