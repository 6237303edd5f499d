// A journal left by a change that died is applied only to the files it was written for;
// anything else found under its name is set aside, and the dictionary is left as it is.

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <string>

#include "crash_test_support.h"
#include "engine/collation.h"
#include "engine/file_format.h"
#include "fault_file_system.h"

namespace lexora {
namespace {

using test::FileSet;

class LeftoverJournalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    build(f_, u"A", 0);
    base_ = test::readFileSet(f_);
    build(other_, u"B", 100);
    other_files_ = test::readFileSet(other_);
  }

  void build(const std::string& file, const std::u16string& title, uint32_t first) {
    DictionaryBuilder builder(kLatin1);
    builder.setTitle(title);
    for (uint32_t i = first; i < first + 20; ++i) {
      builder.add(test::headword(i % 100) + title, test::meaningText(i, 3000));
    }
    ASSERT_OK(builder.finish(file));
  }

  // The journal an add leaves when it dies after tearing the files.
  std::vector<uint8_t> journalOfAKilledAdd() {
    test::FaultFileSystem fs;
    fs.stopAt(7);
    EXPECT_FALSE(test::onDictionary(fs, f_, [](Dictionary& d) {
      return d.addEntry(u"a", test::meaningText(1, 30000)).isOk();
    }));
    EXPECT_NE(test::readFileSet(f_), base_);
    return test::readFile(journalName(f_));
  }

  // Opens the dictionary: it opens as `expected`, and the journal was set aside, not applied.
  void expectSetAside(const FileSet& expected) {
    Dictionary d;
    ASSERT_OK(d.openDictionary(f_));
    EXPECT_NE(d.openNotice().find("was not applied"), std::string::npos) << d.openNotice();
    d.closeDictionary();
    EXPECT_TRUE(test::readFileSet(f_) == expected);
    EXPECT_FALSE(std::filesystem::exists(journalName(f_)));
    EXPECT_TRUE(std::filesystem::exists(journalName(f_) + ".set-aside"));
    std::filesystem::remove(journalName(f_) + ".set-aside");
  }

  test::ScratchDir dir_;
  std::string f_ = dir_.file("d.pvm");
  std::string other_ = dir_.file("other.pvm");
  FileSet base_, other_files_;
};

TEST_F(LeftoverJournalTest, AnotherDictionaryInItsPlaceIsLeftAlone) {
  // A dictionary written over the torn one, in place or as new files.
  const std::vector<uint8_t> journal = journalOfAKilledAdd();
  test::writeFileSet(f_, other_files_);
  test::writeFile(journalName(f_), journal);
  expectSetAside(other_files_);

  for (const std::string& name : {fileSetNames(f_).indexFile, fileSetNames(f_).wordFile, f_}) {
    std::filesystem::remove(name);
  }
  test::writeFileSet(f_, other_files_);
  test::writeFile(journalName(f_), journal);
  expectSetAside(other_files_);

  // A creation that died, then a real dictionary copied under its name.
  const std::string made = dir_.file("made.pvm");
  test::FaultFileSystem fs;
  fs.stopAt(8);
  DictionaryBuilder builder(kLatin1);
  builder.setFileSystem(fs);
  builder.add(u"one", u"- 1");
  EXPECT_FALSE(builder.finish(made).isOk());
  const std::vector<uint8_t> creation = test::readFile(journalName(made));
  test::writeFileSet(f_, other_files_);
  test::writeFile(journalName(f_), creation);
  expectSetAside(other_files_);

  // Its own files are still rolled back.
  test::writeFileSet(f_, base_);
  journalOfAKilledAdd();
  Dictionary d;
  ASSERT_OK(d.openDictionary(f_));
  EXPECT_EQ(d.openNotice(), "");
  d.closeDictionary();
  EXPECT_TRUE(test::readFileSet(f_) == base_);
}

TEST_F(LeftoverJournalTest, ForeignOldAndOversizedJournalsAreNeverApplied) {
  // A journal of the earlier format (no file identity) that would cut the index file.
  std::vector<uint8_t> old = {'L', 'X', 'J', 'O', 'U', 'R', 'N', '1'};
  for (int f = 0; f < 3; ++f) {
    old.push_back(1);
    for (int i = 0; i < 8; ++i) old.push_back(f == 0 && i == 0 ? 3 : 0);
  }
  old.insert(old.end(), 4, 0);
  const uint32_t crc = static_cast<uint32_t>(crc32(0, old.data(), static_cast<uInt>(old.size())));
  for (int i = 0; i < 4; ++i) old.push_back(static_cast<uint8_t>(crc >> (8 * i)));
  test::writeFile(journalName(f_), old);
  expectSetAside(base_);

  // Well formed, but claiming a 1 TiB index file whose bytes it does not hold.
  Journal grow;
  for (int f = 0; f < 3; ++f) {
    const std::vector<uint8_t>& bytes = f == 0 ? base_.index : (f == 1 ? base_.word : base_.data);
    // A file's head is its first HEADER_SIZE bytes, or all of a shorter file.
    const std::vector<uint8_t> head(bytes.begin(),
                                    bytes.begin() + std::min<ptrdiff_t>(HEADER_SIZE, bytes.size()));
    grow.files[f].length = f == 0 ? uint64_t{1} << 40 : (f == 1 ? base_.word : base_.data).size();
    grow.files[f].reach = grow.files[f].length;
    grow.files[f].oldHeadChecksum = journalChecksum(head.data(), head.size());
    grow.files[f].newHead = head;
  }
  test::writeFile(journalName(f_), grow.encode());
  expectSetAside(base_);

  // A journal of its own files grown to 200 GB: refused without reading it into memory.
  const std::vector<uint8_t> own = journalOfAKilledAdd();
  test::writeFileSet(f_, base_);
  test::writeFile(journalName(f_), own);
  std::error_code error;
  std::filesystem::resize_file(journalName(f_), uint64_t{200} << 30, error);
  if (!error) expectSetAside(base_);
}

TEST_F(LeftoverJournalTest, ALinkInTheJournalsPlaceStopsTheChange) {
  const std::string outside = dir_.file("outside");
  std::filesystem::create_symlink(outside, journalName(f_));
  Dictionary d;
  ASSERT_OK(d.openDictionary(f_));
  EXPECT_FALSE(d.addEntry(u"new", u"- x").isOk());
  EXPECT_FALSE(std::filesystem::exists(outside));
  d.closeDictionary();
  EXPECT_TRUE(test::readFileSet(f_) == base_);
}

}  // namespace
}  // namespace lexora
