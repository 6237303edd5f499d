// The reading and editing commands of lexora-cli, run as a script runs them.

#include <gtest/gtest.h>

#include "tests/support/cli_folder.h"

namespace lexora::test {
namespace {

class CliCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(dir_.run({"create", "d.pvm", "--title", "Tiêu đề", "--description", "Desc"}).status,
              0);
    for (const char* w : {"b", "d", "f"}) {
      ASSERT_EQ(dir_.run({"add", "d.pvm", w, std::string("- ") + w}).out, "Ok\n");
    }
  }
  CliFolder dir_;
};

TEST_F(CliCommands, InfoPrintsTheSevenHeaderLines) {
  const CliResult r = dir_.run({"info", "d.pvm"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "title: Tiêu đề\ndescription: Desc\ncollation: 1\nwords: 3\nmax-word-chars: 1\n"
            "max-meaning-chars: 3\nlast-block: 0\n");
}

TEST_F(CliCommands, FindReportsNearestSignAndListPosition) {
  EXPECT_EQ(dir_.run({"find", "d.pvm", "a"}).out, "nearest=0 sign=-1 position=0\n");
  EXPECT_EQ(dir_.run({"find", "d.pvm", "d"}).out, "nearest=1 sign=0 position=1\n");
  EXPECT_EQ(dir_.run({"find", "d.pvm", "g"}).out, "nearest=2 sign=1 position=2\n");
  ASSERT_EQ(dir_.run({"create", "empty.pvm"}).status, 0);
  const CliResult empty = dir_.run({"find", "empty.pvm", "a"});
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("empty.pvm"), std::string::npos);
}

TEST_F(CliCommands, AddReadsStdinAndStoresTheMeaningExactly) {
  const std::string meaning = "@c\r\n- line one\r\n- tab\there\n";
  EXPECT_EQ(dir_.run({"add", "d.pvm", "c"}, meaning).out, "Ok\n");
  EXPECT_EQ(dir_.run({"add", "d.pvm", "e", "-"}, "").out, "Ok\n");  // empty meaning
  const CliResult m = dir_.run({"meaning", "d.pvm", "1"});
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(m.out, meaning);
  // An empty meaning does not read.
  EXPECT_EQ(dir_.run({"meaning", "d.pvm", "3"}).status, 1);
}

TEST_F(CliCommands, AddReportsEveryRefusalByNameAndFails) {
  const CliResult twin = dir_.run({"add", "d.pvm", "B", "x"});
  EXPECT_EQ(twin.status, 1);
  EXPECT_EQ(twin.out, "WordExists\n");
  EXPECT_NE(twin.err.find("d.pvm: add: WordExists (\"B\" is already in the dictionary)"),
            std::string::npos)
      << twin.err;
  const CliResult longWord = dir_.run({"add", "d.pvm", std::string(256, 'x'), "x"});
  EXPECT_EQ(longWord.status, 1);
  EXPECT_EQ(longWord.out, "WordTooLong\n");
  const CliResult longMeaning = dir_.run({"add", "d.pvm", "z"}, std::string(65536, 'm'));
  EXPECT_EQ(longMeaning.out, "MeaningTooLong\n");
  EXPECT_EQ(dir_.run({"add", "d.pvm", ""}).out, "EmptyWord\n");
  EXPECT_EQ(dir_.run({"info", "d.pvm"}).out.find("words: 3\n") != std::string::npos, true);
}

TEST_F(CliCommands, RenameDeleteAndSetMeaningChangeTheTable) {
  EXPECT_EQ(dir_.run({"rename", "d.pvm", "0", "e"}).out, "Ok 1\n");  // d, e, f
  const CliResult same = dir_.run({"rename", "d.pvm", "1", "E"});
  EXPECT_EQ(same.status, 1);
  EXPECT_EQ(same.out, "WordExists\n");
  EXPECT_EQ(dir_.run({"set-meaning", "d.pvm", "2"}, "- new").out, "Ok\n");
  EXPECT_EQ(dir_.run({"meaning", "d.pvm", "2"}).out, "- new");
  EXPECT_EQ(dir_.run({"delete", "d.pvm", "0"}).out, "Ok\n");
  EXPECT_EQ(dir_.run({"words", "d.pvm"}).out, "e\nf\n");
  EXPECT_EQ(dir_.run({"delete", "d.pvm", "2"}).status, 1);
  EXPECT_EQ(dir_.run({"set-title", "d.pvm", "T2"}).status, 0);
  EXPECT_EQ(dir_.run({"set-description", "d.pvm", "D2"}).status, 0);
  EXPECT_EQ(dir_.run({"info", "d.pvm"}).out.rfind("title: T2\ndescription: D2\n", 0), 0u);
}

TEST_F(CliCommands, WordsReadsARangeAndRefusesAStartPastTheEnd) {
  EXPECT_EQ(dir_.run({"words", "d.pvm", "--from", "1"}).out, "d\nf\n");
  EXPECT_EQ(dir_.run({"words", "d.pvm", "--from", "1", "--count", "1"}).out, "d\n");
  EXPECT_EQ(dir_.run({"words", "d.pvm", "--count", "10"}).out, "b\nd\nf\n");
  EXPECT_EQ(dir_.run({"words", "d.pvm", "--from", "3"}).status, 1);
}

TEST_F(CliCommands, UsageErrorsExitWithTwo) {
  EXPECT_EQ(dir_.run({}).status, 2);
  EXPECT_EQ(dir_.run({"no-such-command"}).status, 2);
  EXPECT_EQ(dir_.run({"info"}).status, 2);
  EXPECT_EQ(dir_.run({"info", "d.pvm", "extra"}).status, 2);
  EXPECT_EQ(dir_.run({"meaning", "d.pvm", "x"}).status, 2);
  EXPECT_EQ(dir_.run({"meaning", "d.pvm", "-1"}).status, 2);
  EXPECT_EQ(dir_.run({"words", "d.pvm", "--from"}).status, 2);
  EXPECT_EQ(dir_.run({"words", "d.pvm", "--bogus", "1"}).status, 2);
  EXPECT_EQ(dir_.run({"create", "x.pvm", "--collation", "one"}).status, 2);
  EXPECT_EQ(dir_.run({"import", "csv", "a", "b"}).status, 2);
  EXPECT_EQ(dir_.run({"help"}).status, 0);
}

TEST_F(CliCommands, MissingOrDamagedFilesFailWithTheFileNamed) {
  const CliResult missing = dir_.run({"info", "nothere.pvm"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("nothere"), std::string::npos);
  EXPECT_EQ(missing.err.find('\n'), missing.err.size() - 1);  // one line
  // A truncated index file: the header does not read.
  dir_.write("d.pdi", dir_.read("d.pdi").substr(0, 100));
  const CliResult damaged = dir_.run({"words", "d.pvm"});
  EXPECT_EQ(damaged.status, 1);
  EXPECT_NE(damaged.err.find("d."), std::string::npos);
  EXPECT_EQ(dir_.run({"meaning", "d.pvm", "99"}).status, 1);
}

// A word count far beyond the index file: delete neither aborts nor cuts the file (the record
// offset of index 1073741242 wraps to 846 in 32 bits).
TEST_F(CliCommands, DeleteRefusesAWordCountBeyondTheIndexFile) {
  const std::string index = dir_.read("d.pdi");
  for (const std::string& count :
       {std::string("\xF0\xFF\xFF\xFF", 4), std::string("\xBB\xFD\xFF\x3F", 4)}) {
    std::string damaged = index;
    damaged.replace(26, 4, count);
    dir_.write("d.pdi", damaged);
    for (const char* which : {"0", "1073741242"}) {
      const CliResult r = dir_.run({"delete", "d.pvm", which});
      EXPECT_EQ(r.status, 1) << which;
      EXPECT_NE(r.err.find("d.pdi is damaged"), std::string::npos) << r.err;
      EXPECT_EQ(dir_.read("d.pdi"), damaged);
    }
  }
}

}  // namespace
}  // namespace lexora::test
