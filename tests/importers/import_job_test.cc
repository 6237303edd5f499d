// The import job: sources larger than one dictionary, volumes, cancelling, and what a failed
// or cancelled import leaves behind.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "engine/dictionary.h"
#include "importers/import_job.h"
#include "importers/source_file.h"
#include "tests/support/run_in_child.h"
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

// Sources that never end, never start or inflate without bound are refused with a reason.
TEST(ImportJob, SourcesThatCouldExhaustTheMachineAreRefused) {
  ScratchFolder dir;
  for (const char* pipe : {"book.ifo", "words.dict", "pipe.tsv"})
    ASSERT_EQ(::mkfifo(dir.file(pipe).c_str(), 0600), 0);
  std::ofstream(dir.file("words.index")) << "w\tA\tB\n";
  const std::pair<SourceKind, std::string> sources[] = {
      {SourceKind::Stardict, dir.file("book.ifo")},
      {SourceKind::Dictd, dir.file("words.index")},
      {SourceKind::Tsv, dir.file("pipe.tsv")},
      {SourceKind::Tsv, "/dev/zero"},
      {SourceKind::Dictd, "/dev/zero"}};
  for (const auto& [kind, source] : sources) {
    const ImportOutcome r = importSource(kind, source, nullptr, dir.file("out.pvm"), {});
    EXPECT_EQ(r.result, ImportResult::Failed) << source;
    EXPECT_NE(r.status.message().find("not a regular file"), std::string::npos)
        << r.status.message();
  }

  // A gzip file inflates to no more than the limit; a line of stdin holds no more than one
  // entry may.
  const std::string zipped = dir.file("zeros.dz");
  gzFile gz = gzopen(zipped.c_str(), "wb9");
  const std::string zeros(1 << 20, '\0');
  for (int i = 0; i < 3; ++i) gzwrite(gz, zeros.data(), static_cast<unsigned>(zeros.size()));
  gzclose(gz);
  std::string text;
  EXPECT_FALSE(readSourceFile(zipped, text, 2 << 20).isOk());
  EXPECT_TRUE(text.empty());
  EXPECT_OK(readSourceFile(zipped, text, 3 << 20));
  const ImportOutcome r =
      importText("long\t" + std::string(kMaxEntrySourceBytes + 1, 'a') + "\nshort\tb\n",
                 dir.file("l.pvm"), {});
  EXPECT_EQ(r.result, ImportResult::Done) << r.status.message();
  EXPECT_EQ(r.skipped, 1u);
  ASSERT_EQ(r.reports.size(), 1u);
  EXPECT_NE(r.reports[0].find("stdin:1: skipped: longer than 16 MB"), std::string::npos);
}

// Every file of the folder with its bytes.
std::map<std::string, std::string> folderBytes(const ScratchFolder& dir) {
  std::map<std::string, std::string> out;
  for (const std::string& name : dir.names()) {
    std::ifstream in(dir.file(name), std::ios::binary);
    out[name].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return out;
}

// The address space this process uses now, in bytes.
rlim_t addressSpaceInUse() {
  std::ifstream statm("/proc/self/statm");
  rlim_t pages = 0;
  statm >> pages;
  return pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

// Running out of memory is a message, not an abort, and the dictionary it would have
// replaced is left whole (the window's Import... runs in the window's own process).
TEST(ImportJob, RunningOutOfMemoryIsReportedAndChangesNothing) {
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
  GTEST_SKIP() << "a sanitizer's shadow memory does not fit an address-space limit";
#endif
#endif
  ScratchFolder dir;
  ASSERT_EQ(importText("old\t- kept\n", dir.file("words.pvm"), {}).result, ImportResult::Done);
  std::ofstream(dir.file("words.index")) << "w\tA\tB\n";
  // 96 MB of text in a gzip file of a few hundred kilobytes.
  gzFile gz = gzopen(dir.file("words.dict.dz").c_str(), "wb1");
  const std::string text(1 << 20, 'a');
  for (int i = 0; i < 96; ++i) gzwrite(gz, text.data(), static_cast<unsigned>(text.size()));
  gzclose(gz);
  const auto before = folderBytes(dir);
  ImportOptions replace;
  replace.replaceDictionary = true;
  const std::string out = test::runInChild([&] {
    if (!test::limitTo(RLIMIT_AS, addressSpaceInUse() + (48u << 20))) return std::string("limit");
    return importSource(SourceKind::Dictd, dir.file("words.index"), nullptr, dir.file("words.pvm"),
                        replace)
        .status.toString();
  });
  EXPECT_NE(out.find("words.index: not enough memory to import it; nothing was written"),
            std::string::npos)
      << out;
  EXPECT_EQ(folderBytes(dir), before);
}

// A full disk fails the import with a reason and leaves the dictionary it would have
// replaced as it was, with no part of the new one beside it.
TEST(ImportJob, AFullDiskChangesNothing) {
  ScratchFolder dir;
  ASSERT_EQ(importText("old\t- kept\n", dir.file("words.pvm"), {}).result, ImportResult::Done);
  const auto before = folderBytes(dir);
  ImportOptions replace;
  replace.replaceDictionary = true;
  const std::string out = test::runInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    if (!test::limitTo(RLIMIT_FSIZE, 4096)) return std::string("limit");
    const ImportOutcome r = importText(sixtyEntries(), dir.file("words.pvm"), replace);
    return r.result == ImportResult::Failed ? r.status.toString() : std::string("imported");
  });
  EXPECT_EQ(out.rfind("IoError: ", 0), 0u) << out;
  EXPECT_EQ(folderBytes(dir), before);
}

TEST(ImportJob, SplitWritesVolumesByHeadwordRange) {
  ScratchFolder dir;
  ImportOptions options;
  options.meaningLimit = 20000;
  options.split = true;
  options.title = u"Big";
  std::vector<uint32_t> run;  // the whole run's bar, converting and writing included
  options.runProgress = [&run](uint32_t permille) {
    run.push_back(permille);
    return true;
  };
  const ImportOutcome r = importText(sixtyEntries(), dir.file("big.pvm"), options);
  ASSERT_EQ(r.result, ImportResult::Done) << r.status.message();
  EXPECT_TRUE(std::is_sorted(run.begin(), run.end()));
  EXPECT_EQ(run.back(), 1000u);
  EXPECT_GE(std::count_if(run.begin(), run.end(), [](uint32_t p) { return p > 400 && p < 980; }),
            3);  // each of the three volumes moves the bar on
  EXPECT_EQ(r.imported, 60u);
  ASSERT_EQ(r.dataFiles.size(), 3u);  // 20 000 bytes hold 20 entries
  EXPECT_EQ(r.dataFiles[1], dir.file("big-2.pvm"));
  std::u16string previousLast;
  uint32_t total = 0;
  for (const std::string& f : r.dataFiles) {
    Dictionary d;
    ASSERT_OK(d.openDictionary(f)) << f;
    std::vector<std::u16string> words;
    ASSERT_OK(d.readWords(0, d.wordCount(), words));
    ASSERT_FALSE(words.empty());
    EXPECT_LT(previousLast, words.front());
    previousLast = words.back();
    total += d.wordCount();
    EXPECT_EQ(d.title().rfind(u"Big, volume ", 0), 0u);
  }
  EXPECT_EQ(total, 60u);
  Dictionary second;
  ASSERT_OK(second.openDictionary(r.dataFiles[1]));
  EXPECT_EQ(second.title(), u"Big, volume 2 of 3 (w20 \u2013 w39)");
}

TEST(ImportJob, CancelledImportLeavesAnOlderDictionaryWhole) {
  ScratchFolder dir;
  const std::string data = dir.file("d.pvm");
  ASSERT_EQ(importText("old\t- kept\n", data, {}).result, ImportResult::Done);
  const auto before = dir.names();

  // A big source replacing it, cancelled at the first progress report.
  std::string tsv;
  for (int i = 0; i < 10000; ++i) tsv += "n" + std::to_string(i) + "\tx\n";
  ImportOptions replace;
  replace.replaceDictionary = true;
  const ImportOutcome r = importText(tsv, data, replace, [](uint64_t, uint64_t) { return false; });
  EXPECT_EQ(r.result, ImportResult::Cancelled);
  EXPECT_EQ(dir.names(), before);
  Dictionary d;
  ASSERT_OK(d.openDictionary(data));
  EXPECT_EQ(d.wordCount(), 1u);
  d.closeDictionary();

  // Cancelled from the whole run's bar once reading is over: nothing is left either.
  ImportOptions late;
  late.replaceDictionary = true;
  late.runProgress = [](uint32_t permille) { return permille < 500; };
  const ImportOutcome lateOutcome = importText(tsv, data, late);
  EXPECT_EQ(lateOutcome.result, ImportResult::Cancelled) << lateOutcome.status.toString();
  EXPECT_EQ(dir.names(), before);

  // A failed import (no such source) changes nothing either.
  const ImportOutcome missing =
      importSource(SourceKind::Stardict, dir.file("none.ifo"), nullptr, data, replace);
  EXPECT_EQ(missing.result, ImportResult::Failed);
  EXPECT_EQ(dir.names(), before);
}

TEST(ImportJob, ALongDescriptionEndsAfterAWholeWord) {
  ScratchFolder dir;
  const std::string data = dir.file("d.pvm");
  ImportOptions options;
  std::u16string words;
  while (words.size() < 260) words += u"conditions and \U0001F600 ";
  options.description = words;
  ASSERT_EQ(importText("a\tb\n", data, options).result, ImportResult::Done);
  Dictionary d;
  ASSERT_OK(d.openDictionary(data));
  const std::u16string kept = d.description();
  ASSERT_LE(kept.size(), 255u);
  EXPECT_EQ(kept.back(), u'\u2026');
  EXPECT_NE(kept[kept.size() - 2], u' ');
  EXPECT_EQ(words.substr(0, kept.size() - 1), kept.substr(0, kept.size() - 1));
  EXPECT_EQ(words[kept.size() - 1], u' ');  // cut where a word ends
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
