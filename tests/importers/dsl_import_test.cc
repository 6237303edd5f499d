// lexora-cli import dsl: headword syntax, body tags, sub-cards, abbreviations, the encodings
// DSL files come in, and files that are no DSL.

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "tests/support/cli_folder.h"
#include "util/standard_utf8.h"

namespace lexora::test {
namespace {

const std::string kNbsp = "\xC2\xA0";

std::string utf16(const std::string& text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : fromUtf8(text)) {
    const char low = static_cast<char>(c & 0xFF);
    const char high = static_cast<char>(c >> 8);
    out += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return out;
}

void writeGzip(const std::string& path, const std::string& bytes) {
  gzFile f = gzopen(path.c_str(), "wb");
  gzwrite(f, bytes.data(), static_cast<unsigned>(bytes.size()));
  gzclose(f);
}

TEST(DslImport, CardsBecomeEntriesWithLinksLabelsAndSubCards) {
  CliFolder dir;
  const std::string dsl =
      "#NAME \"Tiny En-Ru\"\r\n#INDEX_LANGUAGE \"English\"\r\n#CONTENTS_LANGUAGE \"Russian\"\r\n"
      "\r\n"
      "colo(u)r\r\n"
      "\t[m0][b]colo(u)r[/b] [t]\xCB\x88k\xCA\x8Cl\xC9\x99[/t] [p]n[/p][/m]\r\n"
      "\t[m1]1) [trn]\xD1\x86\xD0\xB2\xD0\xB5\xD1\x82[/trn][/m]\r\n"
      "\t[m2][ex][lang id=1033]what ~ is it?[/lang] \xE2\x80\x94 "
      "\xD0\xBA\xD0\xB0\xD0\xBA\xD0\xBE\xD0\xB3\xD0\xBE?[/ex][/m]\r\n"
      "\t[m1]2) see [ref]paint[/ref], [ref]C++[/ref] and <<go on>> {{a note\r\n"
      "that runs on}}[/m]\r\n"
      "\t[m3][b][i]badly[/b] nested[/i] [c green]\\[sic\\] a$ <b>[/m]\r\n"
      "{to} go\r\n"
      "went\r\n"
      "\t[m1][trn]\xD0\xB8\xD0\xB4\xD1\x82\xD0\xB8[/trn]\r\n"
      "\t@ go on\r\n"
      "\t[m1][ex]go on, please [p]coll[/p]\r\n"
      "\t@\r\n"
      "\t[m1]~ [p]v[/p]\r\n";
  dir.write("tiny.dsl", utf16(dsl, false));
  dir.write("tiny_abrv.dsl", "n\n  noun\nv\n  verb\n");
  dir.write("tiny.ann", "A small\r\nsample.\r\n");
  const CliResult r = dir.run({"import", "dsl", "tiny.dsl", "d.pvm"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "imported 5, skipped 0\n");
  EXPECT_EQ(dir.run({"words", "d.pvm"}).out, "color\ncolour\ngo\ngo on\nwent\n");
  const std::string color =
      "@colo(u)r|\xCB\x88k\xCA\x8Cl\xC9\x99|\r\n* noun\r\n- 1) \xD1\x86\xD0\xB2\xD0\xB5\xD1\x82"
      "\r\n=$what colour is it?+\xD0\xBA\xD0\xB0\xD0\xBA\xD0\xBE\xD0\xB3\xD0\xBE?"
      "\r\n- 2) see $paint$, \uFFF9C++\uFFFB and $go" +
      kNbsp + "on$\r\n- " + kNbsp + kNbsp + kNbsp + kNbsp + "badly nested [sic] a&#36; &lt;b&gt;";
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "0"}).out, color);
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "1"}).out, color);
  // The sub-card is an entry of its own and a linked line in its card; "~" is "go".
  const std::string go = "@to go\r\n- \xD0\xB8\xD0\xB4\xD1\x82\xD0\xB8\r\n- go verb\r\n!$go" +
                         kNbsp + "on\r\n=$go on, please coll";
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "2"}).out, go);
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "3"}).out, "@go on\r\n=$go on, please coll");
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "4"}).out, "@went" + go.substr(6));
  const std::string info = dir.run({"info", "d.pvm"}).out;
  EXPECT_NE(info.find("title: Tiny En-Ru\n"), std::string::npos) << info;
  EXPECT_NE(info.find("description: A small sample.\n"), std::string::npos) << info;
}

TEST(DslImport, EveryEncodingAndCompressionReadsAlike) {
  const std::string text =
      "#NAME \"Enc\"\n\ngo\n\t[trn]\xD0\xB8\xD0\xB4\xD1\x82\xD0\xB8[/trn]\n\\(a\\)\n  b\n";
  const std::string expected = "@go\r\n- \xD0\xB8\xD0\xB4\xD1\x82\xD0\xB8";
  const std::vector<std::pair<std::string, std::string>> variants = {
      {"a.dsl", text},
      {"a.dsl", "\xEF\xBB\xBF" + text},
      {"a.dsl", utf16(text, true)},
      {"a.dsl", utf16(text, false).substr(2)},  // no mark: told by its NULs
      {"a.dsl",
       "#NAME \"Enc\"\n#SOURCE_CODE_PAGE \"Cyrillic\"\ngo\n\t[trn]\xE8\xE4\xF2\xE8[/trn]\n"
       "\\(a\\)\n  b\n"},
      {"a.dsl.dz", utf16(text, false)},
  };
  for (const auto& [name, bytes] : variants) {
    CliFolder dir;
    if (name == "a.dsl.dz") {
      writeGzip(dir.file(name), bytes);
    } else {
      dir.write(name, bytes);
    }
    const CliResult r = dir.run({"import", "dsl", name, "d.pvm"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.run({"words", "d.pvm"}).out, "(a)\ngo\n") << name;
    EXPECT_EQ(dir.run({"meaning", "d.pvm", "1"}).out, expected) << name;
  }
}

TEST(DslImport, FilesThatAreNoDictionaryAreRefused) {
  CliFolder dir;
  dir.write("empty.dsl", "#NAME \"x\"\n");
  CliResult r = dir.run({"import", "dsl", "empty.dsl", "d.pvm"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("empty.dsl: holds no cards"), std::string::npos) << r.err;
  r = dir.run({"import", "dsl", "missing.dsl", "d.pvm"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("missing.dsl: cannot open"), std::string::npos) << r.err;
  writeGzip(dir.file("cut.dsl.dz"), std::string(5000, 'x'));
  const std::string whole = dir.read("cut.dsl.dz");
  dir.write("cut.dsl.dz", whole.substr(0, whole.size() / 2));
  r = dir.run({"import", "dsl", "cut.dsl.dz", "d.pvm"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot decompress"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir.file("d.pvm")));
}

TEST(DslImport, IncludedFilesAddTheirCardsRelativeToTheirIncluder) {
  CliFolder dir;
  std::filesystem::create_directories(dir.file("src/parts"));
  dir.write("src/main.dsl",
            utf16("#NAME \"Main\"\n#INCLUDE \"parts/more.dsl\"\n#INCLUDE shared.dsl.dz\n"
                  "one\n\t[trn]1[/trn]\n",
                  false));
  dir.write("src/parts/more.dsl",
            "#NAME \"not the title\"\n#INCLUDE \"../shared.dsl.dz\"\ntwo\n\t2\n");
  writeGzip(dir.file("src/shared.dsl.dz"), "three\n\t3\none\n\tagain\n");
  const CliResult r = dir.run({"import", "dsl", "src/main.dsl", "d.pvm"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(dir.run({"words", "d.pvm"}).out, "one\nthree\ntwo\n");  // shared.dsl.dz read once
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "0"}).out, "@one\r\n- 1\r\n\r\n- again");
  EXPECT_NE(dir.run({"info", "d.pvm"}).out.find("Main"), std::string::npos);
}

TEST(DslImport, IncludesThatLeaveTheFolderLoopOrNestTooDeepAreRefused) {
  const auto refused = [](const std::vector<std::pair<std::string, std::string>>& files,
                          const std::string& reason) {
    CliFolder dir;
    std::filesystem::create_directories(dir.file("src"));
    dir.write("outside.dsl", "x\n\tx\n");
    std::filesystem::create_symlink(dir.file("outside.dsl"), dir.file("src/link.dsl"));
    for (const auto& [name, text] : files) dir.write("src/" + name, text);
    const CliResult r = dir.run({"import", "dsl", "src/a.dsl", "d.pvm"});
    EXPECT_EQ(r.status, 1) << reason;
    EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("d.pvm"))) << reason;
  };
  const std::string card = "w\n\tw\n";
  refused({{"a.dsl", card + "#INCLUDE \"../outside.dsl\"\n"}},
          "a.dsl:3: #INCLUDE \"../outside.dsl\": lies outside the source's folder");
  refused({{"a.dsl", "#INCLUDE \"link.dsl\"\n" + card}}, "lies outside the source's folder");
  refused({{"a.dsl", "#INCLUDE \"/etc/hostname\"\n" + card}},
          "names no file in the source's folder");
  refused({{"a.dsl", "#INCLUDE \"nope.dsl\"\n" + card}}, "#INCLUDE \"nope.dsl\": cannot open");
  refused({{"a.dsl", "#INCLUDE \"b.dsl\"\n" + card}, {"b.dsl", "#INCLUDE \"a.dsl\"\n"}},
          "src/b.dsl:1: #INCLUDE \"a.dsl\": includes a file that is being read (a loop)");
  std::vector<std::pair<std::string, std::string>> chain = {{"a.dsl", "#INCLUDE \"1.dsl\"\n"}};
  for (int i = 1; i <= 9; ++i) {
    chain.emplace_back(std::to_string(i) + ".dsl",
                       "#INCLUDE \"" + std::to_string(i + 1) + ".dsl\"\n" + card);
  }
  refused(chain, "included files nest deeper than 8");
}

}  // namespace
}  // namespace lexora::test
