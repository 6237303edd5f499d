// import tsv / import dictd / export through the built lexora-cli.

#include <gtest/gtest.h>
#include <zlib.h>

#include "tests/support/cli_folder.h"

namespace lexora::test {
namespace {

TEST(CliImport, TsvEscapesRoundTripThroughExport) {
  CliFolder dir;
  const std::string tsv =
      "back\\\\slash\t- a \\\\ b\n"
      "tab\\there\t@tab\\r\\n- one\\ttwo\\nthree\n"
      "plain\t\n"
      "odd\\x\tkept \\q as is\n";
  dir.write("in.tsv", tsv);
  const CliResult r = dir.run({"import", "tsv", "in.tsv", "d.pvm", "--title", "T"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "imported 4, skipped 0\n");
  const CliResult find = dir.run({"find", "d.pvm", "tab\there"});
  EXPECT_EQ(find.out, "nearest=3 sign=0 position=3\n");
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "3"}).out, "@tab\r\n- one\ttwo\nthree");
  const CliResult exported = dir.run({"export", "d.pvm"});
  EXPECT_EQ(exported.status, 0);
  EXPECT_EQ(exported.out,
            "back\\\\slash\t- a \\\\ b\nodd\\\\x\tkept \\\\q as is\nplain\t\n"
            "tab\\there\t@tab\\r\\n- one\\ttwo\\nthree\n");
  // Importing the export gives the same entries again.
  dir.write("again.tsv", exported.out);
  ASSERT_EQ(dir.run({"import", "tsv", "-", "e.pvm"}, exported.out).status, 0);
  EXPECT_EQ(dir.run({"export", "e.pvm"}).out, exported.out);
}

TEST(CliImport, TsvSkipsAreReportedWithLineNumbers) {
  CliFolder dir;
  const std::string tsv = "apple\tx\nno tab here\nApple\tdup\n" + std::string(256, 'w') +
                          "\tlong\n\tempty word\nbanana\ty\r\n";
  const CliResult r = dir.run({"import", "tsv", "-", "d.pvm"}, tsv);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "imported 2, skipped 4\n");
  EXPECT_NE(r.err.find("stdin:2: skipped: no TAB"), std::string::npos);
  EXPECT_NE(r.err.find("stdin:3: skipped: WordExists"), std::string::npos);
  EXPECT_NE(r.err.find("stdin:4: skipped: WordTooLong"), std::string::npos);
  EXPECT_NE(r.err.find("stdin:5: skipped: EmptyWord"), std::string::npos);
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "1"}).out, "y");  // the CR of a CR LF line end goes
}

TEST(CliImport, TsvImportWritesWhatCreateAndAddWrite) {
  CliFolder dir;
  std::string tsv;
  ASSERT_EQ(dir.run({"create", "added.pvm", "--collation", "0", "--title", "Việt"}).status, 0);
  for (int i = 0; i < 40; ++i) {
    const std::string word = "từ " + std::to_string((i * 37) % 50);
    const std::string meaning = "- nghĩa " + std::to_string(i) + std::string(i * 97, 'x');
    tsv += word + "\t" + meaning + "\n";
    dir.run({"add", "added.pvm", word, meaning});
  }
  ASSERT_EQ(dir.run({"import", "tsv", "-", "built.pvm", "--collation", "0", "--title", "Việt"}, tsv)
                .status,
            0);
  EXPECT_TRUE(dir.read("built.pdi") == dir.read("added.pdi"));
  EXPECT_TRUE(dir.read("built.pdw") == dir.read("added.pdw"));
  EXPECT_EQ(dir.run({"export", "built.pvm"}).out, dir.run({"export", "added.pvm"}).out);
}

TEST(CliImport, MissingSourceFailsAndLeavesNoDictionary) {
  CliFolder dir;
  const CliResult r = dir.run({"import", "tsv", "nothere.tsv", "d.pvm"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("nothere.tsv"), std::string::npos);
  EXPECT_EQ(dir.run({"info", "d.pvm"}).status, 1);
  EXPECT_EQ(dir.run({"import", "dictd", "nothere.index", "d.pvm"}).status, 1);
}

// A tiny dictd database: texts back to back, an index of base-64 offsets and lengths.
std::string dictdNumber(uint64_t v) {
  static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  do {
    out.insert(out.begin(), digits[v % 64]);
    v /= 64;
  } while (v != 0);
  return out;
}

struct DictdDatabase {
  std::string text;
  std::string index;
  void add(const std::string& word, const std::string& body) {
    index += word + "\t" + dictdNumber(text.size()) + "\t" + dictdNumber(body.size()) + "\n";
    text += body;
  }
  void point(const std::string& word, size_t offset, size_t length) {
    index += word + "\t" + dictdNumber(offset) + "\t" + dictdNumber(length) + "\n";
  }
};

DictdDatabase sampleDictd() {
  DictdDatabase db;
  db.add("00-database-short", "00-database-short\n   Tiny Test Dictionary\n");
  db.add("00-database-url", "00-database-url\n   nowhere\n");
  db.add("apple", "apple\n   A fruit; see {pear} or {red\n   fruit}. Costs $1.\n");
  db.add("Apple", "Apple\n   A company.\n");
  db.add("pear", "pear\n   Another fruit.\n");
  db.point("Pyrus", db.text.rfind("pear\n"), std::string("pear\n   Another fruit.\n").size());
  return db;
}

void writeGzip(const std::string& path, const std::string& bytes) {
  gzFile out = gzopen(path.c_str(), "wb9");
  ASSERT_NE(out, nullptr);
  gzwrite(out, bytes.data(), static_cast<unsigned>(bytes.size()));
  gzclose(out);
}

TEST(CliImport, DictdBecomesMarkupWithLinksAndMergedEntries) {
  for (const bool compressed : {false, true}) {
    CliFolder dir;
    const DictdDatabase db = sampleDictd();
    dir.write("tiny.index", db.index);
    if (compressed) {
      writeGzip(dir.file("tiny.dict.dz"), db.text);
    } else {
      dir.write("tiny.dict", db.text);
    }
    const CliResult r = dir.run({"import", "dictd", "tiny.index", "d.pvm"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "imported 3, skipped 0\n");
    EXPECT_EQ(dir.run({"words", "d.pvm"}).out, "apple\npear\nPyrus\n");
    EXPECT_NE(dir.run({"info", "d.pvm"}).out.find("title: Tiny Test Dictionary\n"),
              std::string::npos);
    // apple and Apple are one entry; wrapped lines are joined, so the link spans the line end;
    // "$" in the text is not a link mark.
    EXPECT_EQ(dir.run({"meaning", "d.pvm", "0"}).out,
              "@apple\r\n- A fruit; see $pear$ or $red fruit$. Costs \xEF\xBC\x84"
              "1.\r\n"
              "\r\n- A company.");
    // Pyrus shares pear's text, which pear holds; Pyrus refers to it.
    EXPECT_EQ(dir.run({"meaning", "d.pvm", "1"}).out, "@pear\r\n- Another fruit.");
    EXPECT_EQ(dir.run({"meaning", "d.pvm", "2"}).out, "@Pyrus\r\n- See $pear$");
  }
}

TEST(CliImport, DictdReportsBadIndexLinesAndDamagedText) {
  CliFolder dir;
  DictdDatabase db = sampleDictd();
  db.index += "broken line without tabs\nfar\tAAAA\tZZ\n";
  dir.write("tiny.index", db.index);
  dir.write("tiny.dict", db.text);
  const CliResult r = dir.run({"import", "dictd", "tiny.index", "d.pvm", "--title", "Mine"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "imported 3, skipped 2\n");
  EXPECT_NE(r.err.find("line 7"), std::string::npos);
  EXPECT_NE(r.err.find("tiny.index:8: skipped"), std::string::npos);
  EXPECT_NE(dir.run({"info", "d.pvm"}).out.find("title: Mine\n"), std::string::npos);

  // A .dict.dz cut short does not decompress: the import fails and writes nothing.
  CliFolder cut;
  cut.write("tiny.index", db.index);
  writeGzip(cut.file("tiny.dict.dz"), sampleDictd().text + std::string(5000, 'x'));
  const std::string whole = cut.read("tiny.dict.dz");
  cut.write("tiny.dict.dz", whole.substr(0, whole.size() - 20));
  const CliResult failed = cut.run({"import", "dictd", "tiny.index", "d.pvm"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("tiny.dict.dz"), std::string::npos);
  EXPECT_EQ(cut.run({"info", "d.pvm"}).status, 1);
}

}  // namespace
}  // namespace lexora::test
