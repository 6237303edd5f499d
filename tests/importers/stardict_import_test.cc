// lexora-cli import stardict: whole file sets, compressed or not, with synonyms, 64-bit
// offsets, repeated headwords, and damaged files.

#include <gtest/gtest.h>

#include "stardict_test_files.h"
#include "tests/support/cli_folder.h"

namespace lexora::test {
namespace {

StardictFiles sampleBook() {
  StardictFiles book;
  book.sameTypeSequence = "h";
  book.entries = {
      {"apple",
       "<b>apple</b> [&#712;&aelig;pl]<br><i>n.</i><ol><li>a fruit</li><li>a tree, see "
       "<a href=\"bword://pear\">pear</a></li></ol>"},
      {"pear", "a sweet fruit"},
      {"plum", "a small fruit<img src=\"plum.png\">"},
  };
  book.synonyms = {{"Malus", 0}, {"APPLE", 0}, {"pyrus", 1}};
  return book;
}

TEST(StardictImport, PlainAndCompressedFileSetsReadAlike) {
  std::string first;
  for (int variant = 0; variant < 3; ++variant) {
    CliFolder dir;
    StardictFiles book = sampleBook();
    book.gzipIndex = variant == 1 || variant == 2;
    book.dictzip = variant == 2;
    if (variant == 2) {
      book.version = "3.0.0";
      book.offsetBits = 64;
    }
    book.write(dir.file("book"));
    const CliResult r = dir.run({"import", "stardict", "book.ifo", "d.pvm"});
    ASSERT_EQ(r.status, 0) << r.err;
    // APPLE equals apple under the Latin1 order and adds nothing; the picture is counted.
    EXPECT_EQ(r.out,
              "imported 5, skipped 0\n"
              "left out 1 picture, sound or other resource that entries name\n");
    EXPECT_EQ(dir.run({"words", "d.pvm"}).out, "apple\nMalus\npear\nplum\npyrus\n");
    const std::string info = dir.run({"info", "d.pvm"}).out;
    EXPECT_NE(info.find("title: Test Book\n"), std::string::npos);
    EXPECT_EQ(dir.run({"meaning", "d.pvm", "0"}).out,
              "@apple|\xCB\x88\xC3\xA6pl|\r\n* n.\r\n- a fruit\r\n- a tree, see $pear$");
    EXPECT_EQ(dir.run({"meaning", "d.pvm", "1"}).out, "@Malus\r\n- See $apple$");
    const std::string all = dir.run({"export", "d.pvm"}).out;
    if (variant == 0) first = all;
    EXPECT_EQ(all, first);
  }
}

TEST(StardictImport, RepeatedHeadwordsMergeAndResourcesAreCounted) {
  CliFolder dir;
  StardictFiles book;
  book.entries = {
      {"bass", std::string("m") + "a fish" + '\0'},
      {"bass", std::string("t") + "be\xC9\xAAs" + '\0' + "m" + "a low voice" + '\0'},
      {"drum", std::string("P") + std::string("\0\0\0\x02", 4) + "xy" + "r" + "snd:drum.wav" +
                   '\0' + "m" + "an instrument" + '\0'},
  };
  book.write(dir.file("mixed"));
  const CliResult r = dir.run({"import", "stardict", "mixed.ifo", "d.pvm", "--title", "Mine"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      r.out,
      "imported 2, skipped 0\nleft out 2 pictures, sounds and other resources that entries name\n");
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "0"}).out, "@bass\r\n- a fish\r\n\r\n- a low voice");
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "1"}).out, "@drum\r\n- an instrument");
  EXPECT_NE(dir.run({"info", "d.pvm"}).out.find("title: Mine\n"), std::string::npos);
}

TEST(StardictImport, DamagedFilesAreReportedAndNothingIsWritten) {
  CliFolder dir;
  StardictFiles book = sampleBook();
  book.write(dir.file("book"));
  // An index record that points past the end of the data, and a synonym of a missing entry.
  std::string idx = dir.read("book.idx");
  idx += std::string("ghost") + '\0' + std::string("\0\0\x10\0\0\0\0\x05", 8);
  idx += std::string("cut") + '\0' + "\x01";
  dir.write("book.idx", idx);
  std::string syn = dir.read("book.syn");
  syn += std::string("nobody") + '\0' + std::string("\0\0\0\x63", 4);
  dir.write("book.syn", syn);
  const CliResult r = dir.run({"import", "stardict", "book.ifo", "d.pvm"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("('ghost'): skipped: its data lies past the end"), std::string::npos);
  EXPECT_NE(r.err.find("cut short"), std::string::npos);
  EXPECT_NE(r.err.find("names index record 99, which does not exist"), std::string::npos);
  EXPECT_EQ(dir.run({"words", "d.pvm"}).out, "apple\nMalus\npear\nplum\npyrus\n");

  // A header that is not a StarDict one, and a missing data file: nothing is written.
  CliFolder bad;
  bad.write("x.ifo", "hello\n");
  const CliResult notIfo = bad.run({"import", "stardict", "x.ifo", "d.pvm"});
  EXPECT_EQ(notIfo.status, 1);
  EXPECT_NE(notIfo.err.find("not a StarDict .ifo file"), std::string::npos);
  sampleBook().write(bad.file("y"));
  std::remove(bad.file("y.dict").c_str());
  const CliResult noData = bad.run({"import", "stardict", "y.ifo", "d.pvm"});
  EXPECT_EQ(noData.status, 1);
  EXPECT_NE(noData.err.find("no .dict or .dict.dz file"), std::string::npos);
  EXPECT_EQ(bad.run({"info", "d.pvm"}).status, 1);
}

TEST(ImportReports, SkipReportsStopAfterTwentyWithACount) {
  CliFolder dir;
  std::string tsv;
  for (int i = 0; i < 25; ++i) tsv += "line without a tab " + std::to_string(i) + "\n";
  tsv += "word\tmeaning\n";
  const CliResult r = dir.run({"import", "tsv", "-", "d.pvm"}, tsv);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "imported 1, skipped 25\n");
  EXPECT_NE(r.err.find("stdin:20: skipped"), std::string::npos);
  EXPECT_EQ(r.err.find("stdin:21: skipped"), std::string::npos);
  EXPECT_NE(r.err.find("... and 5 more skipped\n"), std::string::npos);
  // Not a terminal: no progress line.
  EXPECT_EQ(r.err.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace lexora::test
