#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <functional>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine_test_support.h"
#include "tests/support/status_assertions.h"

namespace lexora {
namespace {

using test::RawEntry;
using test::ScratchDir;

constexpr uint32_t kCodeUnit = 9;

class DictionaryReaderTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name = "d.pvm") const { return dir_.file(name); }

  // Opens a CodeUnit dictionary of the given words (meanings "m:" + word).
  void openWords(const std::vector<std::u16string>& words) {
    test::writeWordList(path(), kCodeUnit, words);
    ASSERT_OK(dict_.openDictionary(path()));
  }

  struct Found {
    bool ok;
    uint32_t nearest;
    int sign;
    uint32_t listPosition;
  };
  Found find(std::u16string_view key) {
    Found f{};
    f.ok = dict_.findWord(key, f.nearest, f.sign, &f.listPosition).isOk();
    return f;
  }

  ScratchDir dir_;
  Dictionary dict_;
};

// ---- Opening, closing, getters ----

TEST_F(DictionaryReaderTest, ClosedSlotGetters) {
  EXPECT_FALSE(dict_.isOpen());
  EXPECT_EQ(dict_.wordCount(), 0u);
  EXPECT_EQ(dict_.maxWordChars(), 0u);
  EXPECT_EQ(dict_.maxMeaningChars(), 0u);
  EXPECT_EQ(dict_.title(), u"");
  EXPECT_EQ(dict_.description(), u"");
  EXPECT_EQ(dict_.collation(), 1u);
  EXPECT_EQ(dict_.nodeData(), 0u);
  EXPECT_EQ(dict_.lastReadIndex(), 0u);
  dict_.closeDictionary();
  std::vector<std::u16string> words;
  EXPECT_EQ(dict_.readWords(0, 1, words).code(), Status::Code::NotFound);
  EXPECT_TRUE(words.empty());
  std::u16string meaning;
  EXPECT_FALSE(dict_.readMeaning(0, meaning).isOk());
}

TEST_F(DictionaryReaderTest, OpenThenCloseRestoresClosedValues) {
  openWords({u"a", u"b"});
  EXPECT_TRUE(dict_.isOpen());
  EXPECT_EQ(dict_.wordCount(), 2u);
  EXPECT_EQ(dict_.collation(), kCodeUnit);
  dict_.closeDictionary();
  EXPECT_FALSE(dict_.isOpen());
  EXPECT_EQ(dict_.wordCount(), 0u);
  EXPECT_EQ(dict_.collation(), 1u);
}

TEST_F(DictionaryReaderTest, MissingFileNamesTheFileAndReason) {
  const Status s = dict_.openDictionary(path("none.pvm"));
  EXPECT_EQ(s.code(), Status::Code::NotFound);
  EXPECT_FALSE(dict_.isOpen());
  EXPECT_NE(s.message().find("none.pdw"), std::string::npos) << s.message();
  EXPECT_NE(s.message().find("No such file"), std::string::npos) << s.message();
}

TEST_F(DictionaryReaderTest, SecondDictionaryInThisProcessIsRefused) {
  openWords({u"a"});
  Dictionary second;
  const Status s = second.openDictionary(path());
  EXPECT_EQ(s.code(), Status::Code::Busy);
  EXPECT_EQ(s.message(), path("d.pdi") + " is open in another dictionary slot or program");
  // The first one is not disturbed, and once it closes the second may open.
  std::u16string meaning;
  EXPECT_OK(dict_.readMeaning(0, meaning));
  dict_.closeDictionary();
  EXPECT_OK(second.openDictionary(path()));
}

TEST_F(DictionaryReaderTest, AnotherProcessIsRefused) {
  openWords({u"a"});
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    Dictionary other;
    _exit(other.openDictionary(path()).isOk() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the other process opened a dictionary held here";
}

// Runs `body` in a child process that has given up root's rights (permission bits do not
// bind the superuser); returns what the body returned, or why it could not run.
std::string runWithoutRoot(const std::function<std::string()>& body) {
  int fds[2];
  if (pipe(fds) != 0) return "pipe failed";
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    std::string out = (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                          ? std::string("cannot drop root")
                          : body();
    if (write(fds[1], out.data(), out.size()) < 0) _exit(2);
    _exit(0);
  }
  close(fds[1]);
  std::string out;
  char buffer[256];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return out;
}

TEST_F(DictionaryReaderTest, ReadOnlyFilesStillReadButRefuseChanges) {
  test::writeWordList(path(), kCodeUnit, {u"a", u"c"});
  for (const char* name : {"d.pvm", "d.pdw", "d.pdi"}) chmod(path(name).c_str(), 0444);
  chmod(path("").c_str(), 0755);
  const std::string failures = runWithoutRoot([&]() -> std::string {
    Dictionary d;
    if (Status s = d.openDictionary(path()); !s.isOk()) return "open: " + s.message();
    std::string out;
    auto expect = [&](bool ok, const char* what) {
      if (!ok) out += std::string(what) + "; ";
    };
    expect(d.isReadOnly(), "isReadOnly");
    std::u16string meaning;
    expect(d.readMeaning(1, meaning).isOk() && meaning == u"m:c", "readMeaning");
    expect(d.addEntry(u"b", u"x").editResult() == EditResult::ReadOnly, "addEntry");
    expect(d.modifyMeaning(0, u"x").editResult() == EditResult::ReadOnly, "modifyMeaning");
    uint32_t index = 0;
    expect(d.modifyWord(index, u"b").editResult() == EditResult::ReadOnly, "modifyWord");
    expect(d.deleteEntry(0).editResult() == EditResult::ReadOnly, "deleteEntry");
    expect(d.setTitle(u"T").code() == Status::Code::ReadOnly && d.title().empty(), "setTitle");
    expect(d.addEntry(u"b", u"x").code() == Status::Code::ReadOnly, "addEntry says read-only");
    expect(d.wordCount() == 2u, "wordCount");
    return out;
  });
  EXPECT_EQ(failures, "");
}

// ---- readWords ----

TEST_F(DictionaryReaderTest, ReadWordsClipsToTheWordCount) {
  openWords({u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h"});
  std::vector<std::u16string> words;
  EXPECT_OK(dict_.readWords(5, 10, words));
  EXPECT_EQ(words, (std::vector<std::u16string>{u"f", u"g", u"h"}));
  EXPECT_EQ(dict_.readWords(8, 1, words).code(), Status::Code::NotFound);
  EXPECT_TRUE(words.empty());
  EXPECT_OK(dict_.readWords(0, 1, words));
  EXPECT_EQ(words, std::vector<std::u16string>{u"a"});
  EXPECT_OK(dict_.readWords(7, 0xFFFFFFFF, words));
  EXPECT_EQ(words.size(), 1u);
}

TEST_F(DictionaryReaderTest, UnreadableHeadwordReadsAsEmpty) {
  test::writeRawDictionary(path(), kCodeUnit, {"m"}, {{u"a", 0, 0, 1}, {u"b", 0, 0, 1}});
  test::patchFile(path("d.pdw"), 1, {0xFF});
  ASSERT_OK(dict_.openDictionary(path()));
  std::vector<std::u16string> words;
  EXPECT_OK(dict_.readWords(0, 2, words));
  EXPECT_EQ(words, (std::vector<std::u16string>{u"a", u""}));
}

// ---- findWord ----

TEST_F(DictionaryReaderTest, FindWordOnEmptyDictionaryFails) {
  openWords({});
  EXPECT_FALSE(find(u"a").ok);
}

TEST_F(DictionaryReaderTest, FindWordNearestSignAndListPosition) {
  openWords({u"b", u"d", u"f"});
  Found f = find(u"a");
  EXPECT_TRUE(f.ok);
  EXPECT_EQ(f.nearest, 0u);
  EXPECT_LT(f.sign, 0);
  EXPECT_EQ(f.listPosition, 0u);

  f = find(u"c");
  EXPECT_EQ(f.nearest, 0u);
  EXPECT_GT(f.sign, 0);
  EXPECT_EQ(f.listPosition, 0u);

  f = find(u"e");
  EXPECT_EQ(f.nearest, 2u);
  EXPECT_LT(f.sign, 0);
  EXPECT_EQ(f.listPosition, 2u);

  f = find(u"g");
  EXPECT_EQ(f.nearest, 2u);
  EXPECT_GT(f.sign, 0);

  f = find(u"d");
  EXPECT_EQ(f.nearest, 1u);
  EXPECT_EQ(f.sign, 0);
  EXPECT_EQ(f.listPosition, 1u);
}

TEST_F(DictionaryReaderTest, ListPositionMovesToTheNeighbourThatBeginsWithTheKey) {
  openWords({u"aa", u"abc", u"b"});
  const Found f = find(u"ab");
  EXPECT_EQ(f.nearest, 0u);
  EXPECT_GT(f.sign, 0);
  EXPECT_EQ(f.listPosition, 1u);
  uint32_t nearest = 9;
  int sign = 9;
  EXPECT_OK(dict_.findWord(u"ab", nearest, sign));  // list position not asked for
  EXPECT_EQ(nearest, 0u);
}

TEST_F(DictionaryReaderTest, FindWordFindsEveryStoredWord) {
  std::vector<std::u16string> words;
  for (char16_t a = u'a'; a <= u'z'; ++a) {
    for (char16_t b = u'a'; b <= u'z'; b += 3) words.push_back(std::u16string{a, b});
  }
  openWords(words);
  for (uint32_t i = 0; i < words.size(); ++i) {
    const Found f = find(words[i]);
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.nearest, i);
    EXPECT_EQ(f.sign, 0);
    // A key just after word i lands next to the insertion point i + 1.
    const Found after = find(words[i] + u"~");
    const uint32_t insertion = after.nearest + (after.sign > 0 ? 1 : 0);
    EXPECT_EQ(insertion, i + 1);
  }
}

// ---- readMeaning and the block cache ----

// Blocks 0 ... 4; entry 0 lies in block 0, entry 1 spans blocks 3 and 4 (10 + 90 bytes),
// entry 2 lies in block 4 only, entry 3 starts in block 3.
class MeaningAcrossBlocksTest : public DictionaryReaderTest {
 protected:
  void SetUp() override {
    std::vector<std::string> blocks = {"zero", "one", "two", std::string(50, '3') + "0123456789",
                                       std::string(90, '4') + "four"};
    test::writeRawDictionary(
        path(), kCodeUnit, blocks,
        {{u"a", 0, 0, 4}, {u"b", 3, 50, 100}, {u"c", 4, 90, 4}, {u"d", 3, 0, 5}});
    ASSERT_OK(dict_.openDictionary(path()));
  }

  // Ruins block `block` on disk; a later decompression of it fails.
  void ruinBlock(uint32_t block) {
    const std::vector<uint8_t> index = test::readFile(path("d.pdi"));
    const uint32_t offset = test::get32(index, BlockRecord::fileOffset(block));
    const uint16_t length = test::get16(index, BlockRecord::fileOffset(block) + 4);
    test::patchFile(path(), offset, std::vector<uint8_t>(length, 0x55));
  }
};

TEST_F(MeaningAcrossBlocksTest, MeaningRunsOnIntoTheNextBlock) {
  std::u16string meaning;
  ASSERT_OK(dict_.readMeaning(1, meaning));
  EXPECT_EQ(meaning, u"0123456789" + std::u16string(90, u'4'));
  EXPECT_EQ(dict_.lastReadIndex(), 1u);
}

TEST_F(MeaningAcrossBlocksTest, CachedBlockIsNotDecompressedAgain) {
  std::u16string meaning;
  ASSERT_OK(dict_.readMeaning(3, meaning));  // the cache now holds block 3
  EXPECT_EQ(meaning, u"33333");
  ruinBlock(3);
  // Block 3 comes from the cache, block 4 is decompressed and stays cached.
  ASSERT_OK(dict_.readMeaning(1, meaning));
  EXPECT_EQ(meaning.size(), 100u);
  ruinBlock(4);
  ASSERT_OK(dict_.readMeaning(2, meaning));
  EXPECT_EQ(meaning, u"four");
  // Now block 3 must be read again, and it is ruined.
  EXPECT_FALSE(dict_.readMeaning(3, meaning).isOk());
  // The failed load left no block cached: block 4 is read again and fails too.
  EXPECT_FALSE(dict_.readMeaning(2, meaning).isOk());
}

TEST_F(DictionaryReaderTest, EmptyOrUnreadableMeaningFailsButMovesLastReadIndex) {
  test::writeRawDictionary(path(), kCodeUnit, {"ok\xFF"},
                           {{u"a", 0, 0, 2}, {u"b", 0, 0, 0}, {u"c", 0, 2, 1}});
  ASSERT_OK(dict_.openDictionary(path()));
  std::u16string meaning;
  EXPECT_FALSE(dict_.readMeaning(1, meaning).isOk());
  EXPECT_EQ(dict_.lastReadIndex(), 1u);
  EXPECT_FALSE(dict_.readMeaning(2, meaning).isOk());
  EXPECT_EQ(dict_.lastReadIndex(), 2u);
  EXPECT_OK(dict_.readMeaning(0, meaning));
  EXPECT_EQ(meaning, u"ok");
  EXPECT_FALSE(dict_.readMeaning(3, meaning).isOk());  // past the end: nothing moves
  EXPECT_EQ(dict_.lastReadIndex(), 0u);
}

// ---- Damaged files: failures, never a crash ----

TEST_F(DictionaryReaderTest, HeaderShorterThan846BytesIsRefused) {
  test::writeWordList(path(), kCodeUnit, {u"a"});
  test::writeFile(path("d.pdi"), std::vector<uint8_t>(845, 0));
  const Status s = dict_.openDictionary(path());
  EXPECT_EQ(s.code(), Status::Code::Corruption);
  EXPECT_FALSE(dict_.isOpen());
  EXPECT_NE(s.message().find("d.pdi"), std::string::npos) << s.message();
  // The refused attempt holds no lock.
  test::writeWordList(path(), kCodeUnit, {u"a"});
  EXPECT_OK(dict_.openDictionary(path()));
}

// A header that contradicts its files is damage: opening refuses it, names the file, and
// neither allocates nor writes anything from the counts it claims.
TEST_F(DictionaryReaderTest, HeaderThatContradictsItsFilesIsRefusedAtOpen) {
  struct Damage {
    const char* what;
    size_t at;
    std::vector<uint8_t> bytes;
    const char* says;
  };
  const std::vector<Damage> damages = {
      {"word count 0xFFFFFFF0", 26, {0xF0, 0xFF, 0xFF, 0xFF}, "holds only 3"},
      {"word count 150,000,000", 26, {0x80, 0xD1, 0xF0, 0x08}, "150000000 words"},
      // 6984 + 12 x 1,073,741,242 wraps to 846 in 32 bits.
      {"word count 1,073,741,243", 26, {0xBB, 0xFD, 0xFF, 0x3F}, "1073741243 words"},
      {"last block past the table", 24, {0xFF, 0x03}, "past the block table"},
      {"last block past the data file",
       BlockRecord::fileOffset(0),
       {0xFF, 0xFF, 0x00, 0x00},
       "beyond the end of"},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    test::writeWordList(path(), kCodeUnit, {u"a", u"b", u"c"});
    test::patchFile(path("d.pdi"), d.at, d.bytes);
    const std::vector<uint8_t> before = test::readFile(path("d.pdi"));
    const Status s = dict_.openDictionary(path());
    EXPECT_EQ(s.code(), Status::Code::Corruption);
    EXPECT_FALSE(dict_.isOpen());
    EXPECT_NE(s.message().find("d.pdi is damaged"), std::string::npos) << s.message();
    EXPECT_NE(s.message().find(d.says), std::string::npos) << s.message();
    EXPECT_FALSE(dict_.deleteEntry(0).isOk());
    EXPECT_EQ(test::readFile(path("d.pdi")), before);
  }
}

TEST_F(DictionaryReaderTest, TruncatedIndexFileIsRefusedAtOpen) {
  test::writeWordList(path(), kCodeUnit, {u"a", u"b", u"c"});
  std::vector<uint8_t> index = test::readFile(path("d.pdi"));
  index.resize(index.size() - 6);
  test::writeFile(path("d.pdi"), index);
  const Status s = dict_.openDictionary(path());
  EXPECT_NE(s.message().find("holds only 2"), std::string::npos) << s.message();
}

TEST_F(DictionaryReaderTest, DamagedBlocksAndRecordsFailTheRead) {
  // Entries: 0 fine; 1 starts past its block's content; 2 in a garbage block;
  // 3 in a block whose record points past the data file; 4 in a block past lastBlock;
  // 5 with a headword outside the word file; 6 with an empty compressed block.
  test::writeRawDictionary(path(), kCodeUnit, {"fine", "garbage", "far", "empty"},
                           {{u"a", 0, 0, 4},
                            {u"b", 0, 5, 3},
                            {u"c", 1, 0, 3},
                            {u"d", 2, 0, 3},
                            {u"e", 7, 0, 3},
                            {u"f", 0, 0, 4},
                            {u"g", 3, 0, 3}});
  const std::vector<uint8_t> index = test::readFile(path("d.pdi"));
  test::patchFile(path(), test::get32(index, BlockRecord::fileOffset(1)), {0, 1, 2, 3});
  test::patchFile(path("d.pdi"), BlockRecord::fileOffset(2), {0xF0, 0xFF, 0xFF, 0x0F});
  test::patchFile(path("d.pdi"), BlockRecord::fileOffset(3) + 4, {0, 0});
  test::patchFile(path("d.pdi"), WordRecord::fileOffset(5), {0x00, 0x10, 0x00, 0x00});
  ASSERT_OK(dict_.openDictionary(path()));
  std::u16string meaning;
  for (uint32_t i = 1; i <= 6; ++i) {
    if (i == 5) continue;
    EXPECT_FALSE(dict_.readMeaning(i, meaning).isOk()) << i;
  }
  std::vector<std::u16string> words;
  EXPECT_FALSE(dict_.readWords(5, 1, words).isOk());
  EXPECT_TRUE(words.empty());
  EXPECT_OK(dict_.readMeaning(0, meaning));
  EXPECT_EQ(meaning, u"fine");
}

TEST_F(DictionaryReaderTest, BlockPastTheLastIsNeverRead) {
  test::writeRawDictionary(path(), kCodeUnit, {"x"}, {{u"a", 0, 0, 1}, {u"b", 1100, 0, 1}});
  ASSERT_OK(dict_.openDictionary(path()));
  std::u16string meaning;
  EXPECT_OK(dict_.readMeaning(0, meaning));
  EXPECT_FALSE(dict_.readMeaning(1, meaning).isOk());
}

}  // namespace
}  // namespace lexora
