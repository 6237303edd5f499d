// Every change to a dictionary is all or nothing: stopped at any write or flush, the
// dictionary reopens either exactly as before or with the whole change, and every entry reads.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "engine/journal.h"
#include "engine_test_support.h"
#include "fault_file_system.h"
#include "tests/support/status_assertions.h"

namespace lexora {
namespace {

using test::FaultFileSystem;
using test::ScratchDir;

struct FileSet {
  std::vector<uint8_t> index, word, data;
  bool operator==(const FileSet&) const = default;
};

FileSet readFileSet(const std::string& dataFile) {
  const FileSetNames n = fileSetNames(dataFile);
  return {test::readFile(n.indexFile), test::readFile(n.wordFile), test::readFile(n.dataFile)};
}

void writeFileSet(const std::string& dataFile, const FileSet& files) {
  const FileSetNames n = fileSetNames(dataFile);
  test::writeFile(n.indexFile, files.index);
  test::writeFile(n.wordFile, files.word);
  test::writeFile(n.dataFile, files.data);
  std::filesystem::remove(journalName(dataFile));
}

// Letters and spaces that compress to about 60%, so that a few dozen meanings fill blocks.
std::u16string meaningText(uint32_t seed, size_t length) {
  std::u16string text;
  uint32_t x = seed * 2654435761u + 1;
  while (text.size() < length) {
    x = x * 1103515245u + 12345u;
    const uint32_t r = (x >> 16) % 28;
    text += r < 26 ? char16_t(u'a' + r) : r == 26 ? u' ' : u'\u00e9';
  }
  return text;
}

std::u16string headword(uint32_t i) {
  static const std::u16string kEndings[] = {u"", u"\u00e1", u"\u0436", u"b"};
  std::u16string w = u"w";
  w += char16_t(u'0' + i / 10);
  w += char16_t(u'0' + i % 10);
  return w + kEndings[i % 4];
}

// The flush discipline of one change: the journal reaches the disk (file and folder) before
// any byte of the dictionary's files changes; they reach the disk before it is removed.
void expectFlushDiscipline(const std::vector<std::string>& log, const std::string& dataFile) {
  const FileSetNames n = fileSetNames(dataFile);
  const std::string journal = journalName(dataFile);
  const std::vector<std::string> files = {n.indexFile, n.wordFile, n.dataFile};
  bool journalSynced = false, journalReady = false, removed = false;
  std::vector<std::string> unsynced;
  for (const std::string& entry : log) {
    const size_t space = entry.find(' ');
    const std::string what = entry.substr(0, space);
    const std::string path = entry.substr(space + 1);
    const bool dictionaryFile = std::find(files.begin(), files.end(), path) != files.end();
    if (path == journal && what == "sync") journalSynced = true;
    if (what == "syncFolder" && journalSynced) journalReady = true;
    if (dictionaryFile && (what == "write" || what == "truncate")) {
      EXPECT_TRUE(journalReady) << entry << " before the journal was on disk";
      unsynced.push_back(path);
    }
    if (dictionaryFile && what == "sync") std::erase(unsynced, path);
    if (path == journal && what == "remove") {
      EXPECT_TRUE(unsynced.empty())
          << "journal removed before " << unsynced.front() << " was flushed";
      removed = true;
    }
  }
  EXPECT_TRUE(removed);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().substr(0, 10), "syncFolder");
}

// Every entry of the dictionary reads: its headword and its meaning.
void expectEveryEntryReads(const std::string& dataFile) {
  Dictionary d;
  ASSERT_OK(d.openDictionary(dataFile));
  for (uint32_t i = 0; i < d.wordCount(); ++i) {
    std::vector<std::u16string> words;
    std::u16string meaning;
    ASSERT_OK(d.readWords(i, 1, words)) << i;
    EXPECT_FALSE(words[0].empty()) << i;
    EXPECT_OK(d.readMeaning(i, meaning)) << "entry " << i;
  }
}

struct Change {
  const char* name;
  // Runs the change through fs on the dictionary named by dataFile; true when it reported Ok.
  std::function<bool(FileSystem& fs, const std::string& dataFile, uint32_t collation)> run;
};

// Opens the dictionary through fs and runs one change on it.
bool onDictionary(FileSystem& fs, const std::string& dataFile,
                  const std::function<bool(Dictionary&)>& change) {
  Dictionary d(fs);
  if (!d.openDictionary(dataFile).isOk()) return false;
  return change(d);
}

std::vector<Change> changes() {
  return {
      {"add in the middle",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(
             fs, f, [](Dictionary& d) { return d.addEntry(u"w25x", meaningText(7, 500)).isOk(); });
       }},
      {"add across a block boundary",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(
             fs, f, [](Dictionary& d) { return d.addEntry(u"a", meaningText(8, 60000)).isOk(); });
       }},
      {"modify meaning",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(
             fs, f, [](Dictionary& d) { return d.modifyMeaning(3, meaningText(9, 3000)).isOk(); });
       }},
      {"rename",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(fs, f, [](Dictionary& d) {
           uint32_t index = 30;
           return d.modifyWord(index, u"w01zz").isOk();
         });
       }},
      {"delete",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(fs, f, [](Dictionary& d) { return d.deleteEntry(10).isOk(); });
       }},
      {"title",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(fs, f, [](Dictionary& d) { return d.setTitle(u"New title").isOk(); });
       }},
      {"description",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(fs, f,
                             [](Dictionary& d) { return d.setDescription(u"Changed").isOk(); });
       }},
      {"replace by the builder",
       [](FileSystem& fs, const std::string& f, uint32_t collation) {
         DictionaryBuilder builder(collation);
         builder.setFileSystem(fs);
         for (uint32_t i = 0; i < 5; ++i) builder.add(headword(i), meaningText(100 + i, 40));
         return builder.finish(f).isOk();
       }},
      {"create over it",
       [](FileSystem& fs, const std::string& f, uint32_t collation) {
         Dictionary d(fs);
         return d.createDictionary(f, collation).isOk();
       }},
  };
}

class CrashSafetyTest : public ::testing::TestWithParam<uint32_t> {
 protected:
  void SetUp() override {
    DictionaryBuilder builder(GetParam());
    builder.setFileSystem(noFaults_);
    builder.setTitle(u"Base");
    for (uint32_t i = 0; i < 40; ++i) builder.add(headword(i), meaningText(i, 4000));
    ASSERT_OK(builder.finish(dir_.file("base.pvm")));
    base_ = readFileSet(dir_.file("base.pvm"));
  }

  // The change made without faults.
  FileSet completed(const Change& change) {
    const std::string f = dir_.file("done.pvm");
    writeFileSet(f, base_);
    EXPECT_TRUE(change.run(noFaults_, f, GetParam())) << change.name;
    return readFileSet(f);
  }

  ScratchDir dir_;
  FileSet base_;
  FaultFileSystem noFaults_;  // the system's files without real flushes
};

TEST_P(CrashSafetyTest, StoppedAtAnyWriteOrFlushReopensOldOrNew) {
  const std::string f = dir_.file("d.pvm");
  for (const Change& change : changes()) {
    SCOPED_TRACE(change.name);
    const FileSet after = completed(change);
    ASSERT_NE(after, base_);
    int stops = 0;
    for (int step = 1;; ++step) {
      SCOPED_TRACE("stopped at step " + std::to_string(step));
      writeFileSet(f, base_);
      FaultFileSystem fs;
      fs.stopAt(step);
      const bool reportedOk = change.run(fs, f, GetParam());
      if (!fs.stopped()) {
        // Every step was taken: the change is complete, and was made in the right order.
        EXPECT_TRUE(reportedOk);
        EXPECT_TRUE(readFileSet(f) == after);
        expectFlushDiscipline(fs.log(), f);
        break;
      }
      ++stops;
      // A change stopped before its end never reports Ok unless it is on disk whole.
      Dictionary reopened(noFaults_);
      ASSERT_OK(reopened.openDictionary(f));
      reopened.closeDictionary();
      const FileSet now = readFileSet(f);
      EXPECT_TRUE(now == base_ || now == after);
      if (reportedOk) {
        EXPECT_TRUE(now == after);
      }
      EXPECT_FALSE(std::filesystem::exists(journalName(f)));
      expectEveryEntryReads(f);
      if (::testing::Test::HasFailure()) return;
    }
    EXPECT_GE(stops, 5);
  }
}

// A write or flush that fails (a full disk, an I/O error) while the program goes on: the
// change reports a failure, the files are exactly as before, and the dictionary in memory
// agrees with them and takes the next change.
TEST_P(CrashSafetyTest, FailureAtAnyStepLeavesTheOldDictionaryInUse) {
  const std::string f = dir_.file("d.pvm");
  for (int step = 1;; ++step) {
    SCOPED_TRACE("failed at step " + std::to_string(step));
    writeFileSet(f, base_);
    FaultFileSystem fs;
    fs.failOnlyAt(step);
    Dictionary d(fs);
    ASSERT_OK(d.openDictionary(f));
    const uint32_t count = d.wordCount();
    const EditStatus result = d.addEntry(u"w25x", meaningText(7, 500));
    if (!fs.failed()) {
      EXPECT_OK(result);
      break;
    }
    EXPECT_FALSE(result.isOk());
    EXPECT_EQ(d.wordCount(), count);
    EXPECT_TRUE(readFileSet(f) == base_);
    EXPECT_FALSE(std::filesystem::exists(journalName(f)));
    ASSERT_OK(d.addEntry(u"w25y", u"- next"));
    uint32_t nearest = 0;
    int sign = 1;
    std::u16string meaning;
    ASSERT_OK(d.findWord(u"w25y", nearest, sign));
    EXPECT_EQ(sign, 0);
    EXPECT_OK(d.readMeaning(nearest, meaning));
    EXPECT_EQ(meaning, u"- next");
    EXPECT_FALSE(d.findWord(u"w25x", nearest, sign).isOk() && sign == 0);
    d.closeDictionary();
    expectEveryEntryReads(f);
    if (::testing::Test::HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Collations, CrashSafetyTest,
                         ::testing::Values(kVietnamese, kLatin1, kCyrillic, 7u));

TEST(CrashSafety, ReadOnlyFilesShowTheRolledBackDictionaryInMemory) {
  ScratchDir dir;
  const std::string f = dir.file("d.pvm");
  DictionaryBuilder builder(kLatin1);
  for (uint32_t i = 0; i < 20; ++i) builder.add(headword(i), meaningText(i, 4000));
  ASSERT_OK(builder.finish(f));
  const FileSet base = readFileSet(f);
  std::vector<std::u16string> meanings;
  {
    Dictionary d;
    ASSERT_OK(d.openDictionary(f));
    for (uint32_t i = 0; i < d.wordCount(); ++i) {
      std::u16string m;
      ASSERT_OK(d.readMeaning(i, m));
      meanings.push_back(m);
    }
  }
  // Stop a change after it has torn the data file and shifted part of the word table.
  for (int step = 6; step <= 7; ++step) {
    writeFileSet(f, base);
    FaultFileSystem fs;
    fs.stopAt(step);
    EXPECT_FALSE(onDictionary(
        fs, f, [](Dictionary& d) { return d.addEntry(u"a", meaningText(1, 30000)).isOk(); }));
    ASSERT_TRUE(std::filesystem::exists(journalName(f)));
    ASSERT_NE(readFileSet(f), base);

    FaultFileSystem readOnly;
    readOnly.pretendReadOnly(true);
    Dictionary d(readOnly);
    ASSERT_OK(d.openDictionary(f));
    EXPECT_TRUE(d.isReadOnly());
    ASSERT_EQ(d.wordCount(), meanings.size());
    for (uint32_t i = 0; i < d.wordCount(); ++i) {
      std::u16string m;
      EXPECT_OK(d.readMeaning(i, m)) << i;
      EXPECT_EQ(m, meanings[i]) << i;
    }
    EXPECT_FALSE(d.addEntry(u"b", u"x").isOk());
    d.closeDictionary();
    EXPECT_TRUE(std::filesystem::exists(journalName(f)));  // left for a writable opening

    Dictionary writable;
    ASSERT_OK(writable.openDictionary(f));
    EXPECT_EQ(readFileSet(f), base);
    EXPECT_FALSE(std::filesystem::exists(journalName(f)));
  }
}

TEST(CrashSafety, InterruptedCreationOfANewDictionaryLeavesNone) {
  ScratchDir dir;
  const std::string f = dir.file("new.pvm");
  for (int step = 1; step <= 12; ++step) {
    FaultFileSystem fs;
    fs.stopAt(step);
    DictionaryBuilder builder(kLatin1);
    builder.setFileSystem(fs);
    builder.add(u"one", u"- 1");
    EXPECT_FALSE(builder.finish(f).isOk());
    Dictionary d;
    EXPECT_FALSE(d.openDictionary(f).isOk());
    // Either nothing was created yet (empty files), or the rollback removed what was.
    EXPECT_FALSE(std::filesystem::exists(journalName(f)));
    for (const std::string& name : {fileSetNames(f).indexFile, fileSetNames(f).dataFile}) {
      EXPECT_TRUE(!std::filesystem::exists(name) || std::filesystem::file_size(name) == 0)
          << name << " at step " << step;
    }
    std::filesystem::remove(fileSetNames(f).indexFile);
    std::filesystem::remove(fileSetNames(f).wordFile);
    std::filesystem::remove(fileSetNames(f).dataFile);
  }
  // Building again over an interrupted creation works at once.
  FaultFileSystem fs;
  fs.stopAt(8);
  DictionaryBuilder first(kLatin1);
  first.setFileSystem(fs);
  first.add(u"one", u"- 1");
  EXPECT_FALSE(first.finish(f).isOk());
  ASSERT_TRUE(std::filesystem::exists(journalName(f)));
  DictionaryBuilder second(kLatin1);
  second.add(u"two", u"- 2");
  ASSERT_OK(second.finish(f));
  Dictionary d;
  ASSERT_OK(d.openDictionary(f));
  EXPECT_EQ(d.wordCount(), 1u);
}

TEST(CrashSafety, JournalThatDoesNotCheckOutIsIgnored) {
  ScratchDir dir;
  const std::string f = dir.file("d.pvm");
  test::writeWordList(f, kLatin1, {u"a", u"b"});
  const FileSet base = readFileSet(f);
  Journal j;
  j.files[0].length = 3;  // would cut the index file
  std::vector<uint8_t> bytes = j.encode();
  bytes.back() ^= 1;
  test::writeFile(journalName(f), bytes);
  Dictionary d;
  ASSERT_OK(d.openDictionary(f));
  EXPECT_EQ(d.wordCount(), 2u);
  EXPECT_EQ(readFileSet(f), base);
  EXPECT_FALSE(std::filesystem::exists(journalName(f)));
}

}  // namespace
}  // namespace lexora
