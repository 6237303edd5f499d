// The full-text index beside a dictionary: what it finds, that every change keeps it in step,
// and that a change that fails or dies never leaves an index that answers for other files.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <random>
#include <thread>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "engine/full_text_index.h"
#include "engine/meaning_sweep.h"
#include "fault_file_system.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/status_assertions.h"
#include "util/standard_utf8.h"

namespace lexora {
namespace {

using State = Dictionary::FullTextState;
const char* const kWords[] = {"alpha", "beta", "gamma", "delta", "swift", "swiftly", "slow"};

std::u16string meaningFor(std::mt19937& random) {
  std::string text = "- ";
  for (int n = 1 + random() % 4; n > 0; --n) text += std::string(kWords[random() % 7]) + " ";
  return fromUtf8(text);
}

// The entries that hold a word starting with `start`, read from the meanings themselves.
std::vector<uint32_t> scanned(Dictionary& d, const std::string& start) {
  std::vector<uint32_t> out;
  std::u16string meaning;
  for (uint32_t i = 0; i < d.wordCount(); ++i) {
    if (!d.readMeaning(i, meaning).isOk()) continue;
    std::string word;
    bool found = false;
    for (char c : toUtf8(meaning) + " ") {
      if (std::isalnum(static_cast<unsigned char>(c))) {
        word += static_cast<char>(std::tolower(c));
      } else {
        found = found || word.rfind(start, 0) == 0;
        word.clear();
      }
    }
    if (found) out.push_back(i);
  }
  return out;
}

std::vector<uint32_t> indexed(Dictionary& d, std::u16string_view text) {
  std::vector<uint32_t> positions;
  EXPECT_OK(d.findInMeanings(text, positions));
  return positions;
}

// An index that reads as current answers exactly what the meanings hold.
void expectAnswersForTheFiles(Dictionary& d) {
  if (d.fullTextState() != State::Current) return;
  for (const char* word : {"alpha", "delta", "swift", "slow", "gam"}) {
    EXPECT_EQ(indexed(d, fromUtf8(word)), scanned(d, word)) << word;
  }
}

class FullTextIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DictionaryBuilder builder(kLatin1);
    builder.add(u"run", u"@run\r\n- to move Swiftly on foot");
    builder.add(u"walk", u"@walk\r\n- to move slowly");
    builder.add(u"eclair", u"- a long cake; see ÉCLAIR");
    builder.add(u"empty", u"");
    ASSERT_OK(builder.finish(file_));
    ASSERT_OK(d_.openDictionary(file_));
  }

  test::ScratchDir dir_;
  std::string file_ = dir_.file("d.pvm");
  Dictionary d_;
};

TEST_F(FullTextIndexTest, FindsWordsAndWordBeginningsInAnyCaseOrAccent) {
  EXPECT_EQ(d_.fullTextState(), State::Missing);
  std::vector<uint32_t> positions;
  EXPECT_EQ(d_.findInMeanings(u"move", positions).code(), Status::Code::NotFound);
  ASSERT_OK(buildFullTextIndex(d_));
  EXPECT_EQ(d_.fullTextState(), State::Current);
  EXPECT_EQ(indexed(d_, u"to move"), (std::vector<uint32_t>{2, 3}));  // run, walk
  EXPECT_EQ(indexed(d_, u"MOVE SWIFT"), (std::vector<uint32_t>{2}));
  EXPECT_EQ(indexed(d_, u"eclair"), (std::vector<uint32_t>{0}));
  EXPECT_EQ(indexed(d_, u"swiftly to"), (std::vector<uint32_t>{2}));  // any order: no positions
  EXPECT_TRUE(indexed(d_, u"move fast").empty());
  EXPECT_TRUE(indexed(d_, u"ove").empty());  // words from their beginning
  EXPECT_EQ(d_.findInMeanings(u"; -", positions).code(), Status::Code::InvalidArgument);
  EXPECT_EQ(indexed(d_, u"\"move"), (std::vector<uint32_t>{2, 3}));  // quotes are no syntax
  // Small beside the dictionary (the data here is tiny; gcide's is in bench/README.md).
  EXPECT_TRUE(std::filesystem::exists(dir_.file("d.pfx")));
}

TEST_F(FullTextIndexTest, EveryChangeIsFoundByTheNextSearchAfterReopeningToo) {
  ASSERT_OK(buildFullTextIndex(d_));
  ASSERT_OK(d_.addEntry(u"fly", u"- to move through the air"));
  EXPECT_EQ(indexed(d_, u"through the"), (std::vector<uint32_t>{2}));
  ASSERT_OK(d_.modifyMeaning(4, u"- to go on foot at an easy pace"));  // walk
  EXPECT_EQ(indexed(d_, u"to move"), (std::vector<uint32_t>{2, 3}));   // fly, run
  EXPECT_EQ(indexed(d_, u"easy pace"), (std::vector<uint32_t>{4}));
  uint32_t index = 3;  // run
  ASSERT_OK(d_.modifyWord(index, u"dash"));
  EXPECT_EQ(indexed(d_, u"swiftly"), (std::vector<uint32_t>{index}));
  ASSERT_OK(d_.deleteEntry(0));  // dash
  EXPECT_TRUE(indexed(d_, u"swiftly").empty());
  ASSERT_OK(d_.setTitle(u"Moves"));
  d_.closeDictionary();
  ASSERT_OK(d_.openDictionary(file_));
  EXPECT_EQ(d_.fullTextState(), State::Current);
  EXPECT_EQ(indexed(d_, u"air"), (std::vector<uint32_t>{2}));
}

TEST_F(FullTextIndexTest, AnIndexLeftBehindByAChangeIsStaleUntilRebuilt) {
  ASSERT_OK(buildFullTextIndex(d_));
  const std::string pfx = dir_.file("d.pfx");
  std::filesystem::copy_file(pfx, dir_.file("old.pfx"));
  // The process dies after the dictionary's change, before the index took it.
  ASSERT_OK(d_.addEntry(u"fly", u"- through the air"));
  d_.closeDictionary();
  std::filesystem::copy_file(dir_.file("old.pfx"), pfx,
                             std::filesystem::copy_options::overwrite_existing);
  ASSERT_OK(d_.openDictionary(file_));
  EXPECT_EQ(d_.fullTextState(), State::Stale);
  std::vector<uint32_t> positions;
  EXPECT_EQ(d_.findInMeanings(u"air", positions).code(), Status::Code::NotFound);
  ASSERT_OK(buildFullTextIndex(d_));
  EXPECT_EQ(indexed(d_, u"air"), (std::vector<uint32_t>{2}));
  // Damage is no index either.
  d_.closeDictionary();
  std::filesystem::resize_file(pfx, 100);
  ASSERT_OK(d_.openDictionary(file_));
  EXPECT_NE(d_.fullTextState(), State::Current);
}

TEST_F(FullTextIndexTest, AFailedChangeLeavesTheIndexMatchingItsDictionary) {
  ASSERT_OK(buildFullTextIndex(d_));
  d_.closeDictionary();
  for (int step = 1; step <= 16; ++step) {  // the last ones succeed
    test::FaultFileSystem faults;
    faults.failOnlyAt(step);
    Dictionary d(faults);
    ASSERT_OK(d.openDictionary(file_));
    ASSERT_EQ(d.fullTextState(), State::Current);
    static_cast<void>(d.addEntry(u"k" + fromUtf8(std::to_string(step)), u"- alpha delta"));
    d.closeDictionary();
    ASSERT_OK(d.openDictionary(file_));
    expectAnswersForTheFiles(d);
    if (d.fullTextState() != State::Current) {
      ASSERT_OK(buildFullTextIndex(d));
    }
  }
}

// The window's worker builds and searches while the window changes entries: each operation
// holds the dictionary's lock, and an index built across a change is refused, never adopted.
TEST_F(FullTextIndexTest, AWorkerBuildsAndSearchesWhileEntriesChange) {
  std::atomic<bool> done{false};
  std::thread worker([&] {
    std::vector<uint32_t> positions;
    while (!done) {
      const Status s = buildFullTextIndex(d_);
      EXPECT_TRUE(s.isOk() || s.code() == Status::Code::Busy) << s.message();
      // An index that a change has just made stale refuses to answer: any result will do here,
      // what is checked is that the two threads never meet inside the dictionary.
      static_cast<void>(d_.findInMeanings(u"alpha", positions));
    }
  });
  std::mt19937 random(7);
  for (int i = 0; i < 20; ++i) {
    EXPECT_OK(d_.addEntry(fromUtf8("n" + std::to_string(i)), meaningFor(random)));
  }
  done = true;
  worker.join();
  expectAnswersForTheFiles(d_);
  if (d_.fullTextState() != State::Current) {
    ASSERT_OK(buildFullTextIndex(d_));
  }
  expectAnswersForTheFiles(d_);
}

// A whole-dictionary pass (an index build on the window's worker) reads one state in short
// pieces: after a change every piece is refused, so that it never mixes two states, and the
// window's own reading (its last read entry, for previous/next word) stays where it was.
TEST_F(FullTextIndexTest, APassReadsOneStateAndLeavesTheWindowsReadingAlone) {
  std::u16string meaning;
  ASSERT_OK(d_.readMeaning(2, meaning));
  ASSERT_OK(buildFullTextIndex(d_));
  EXPECT_EQ(d_.lastReadIndex(), 2u);
  const uint64_t state = d_.state();
  std::vector<WordRecord> records;
  ASSERT_OK(d_.readWordRecords(records, state));
  ASSERT_EQ(records.size(), 4u);
  ASSERT_OK(MeaningSweep(d_, state).read(3, records[3], meaning));
  EXPECT_EQ(meaning, u"@walk\r\n- to move slowly");
  EXPECT_EQ(d_.lastReadIndex(), 2u);

  const WordRecord walk = records[3];
  ASSERT_OK(d_.setTitle(u"Changed"));
  std::string stamp;
  EXPECT_EQ(d_.readWordRecords(records, state).code(), Status::Code::Busy);
  EXPECT_EQ(d_.contentStamp(stamp, state).code(), Status::Code::Busy);
  EXPECT_EQ(MeaningSweep(d_, state).read(3, walk, meaning).code(), Status::Code::Busy);
  const std::string built = dir_.file("built.pfx");
  std::filesystem::copy_file(dir_.file("d.pfx"), built);
  EXPECT_EQ(d_.adoptFullTextIndex(built, state).code(), Status::Code::Busy);
  EXPECT_FALSE(std::filesystem::exists(built));
  EXPECT_EQ(d_.fullTextState(), State::Current);  // the index took the title change itself
}

// A child changes the dictionary until it is killed; whatever moment it died at, an index that
// reads as current answers for the files.
TEST_F(FullTextIndexTest, AKilledChangeNeverLeavesAnIndexThatDisagrees) {
  ASSERT_OK(buildFullTextIndex(d_));
  d_.closeDictionary();
  std::mt19937 random(25);
  for (int round = 0; round < 12; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Dictionary d;
      if (!d.openDictionary(file_).isOk()) ::_exit(2);
      std::mt19937 own(round);
      for (uint32_t i = 0;; ++i) {
        const uint32_t count = d.wordCount();
        if (count < 3 || own() % 3 == 0) {
          static_cast<void>(d.addEntry(
              fromUtf8("w" + std::to_string(round) + "_" + std::to_string(i)), meaningFor(own)));
        } else if (own() % 2 == 0) {
          static_cast<void>(d.modifyMeaning(own() % count, meaningFor(own)));
        } else {
          static_cast<void>(d.deleteEntry(own() % count));
        }
      }
    }
    ::usleep(20000 + random() % 60000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    Dictionary d;
    ASSERT_OK(d.openDictionary(file_));
    expectAnswersForTheFiles(d);
    if (d.fullTextState() != State::Current) {
      ASSERT_OK(buildFullTextIndex(d));
    }
  }
}

}  // namespace
}  // namespace lexora
