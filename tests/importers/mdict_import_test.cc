// lexora-cli import mdict: versions 2.0 and 1.2, every block kind, scrambled key indexes, the
// text encodings, redirects and links, and damaged or encrypted files.

#include <gtest/gtest.h>

#include "mdict_test_files.h"
#include "tests/support/cli_folder.h"

namespace lexora::test {
namespace {

MdictFiles sampleMdx() {
  MdictFiles mdx;
  mdx.attributes =
      "Encoding=\"UTF-8\" Format=\"Html\" KeyCaseSensitive=\"No\" StripKey=\"Yes\" "
      "Title=\"Tiny &amp; Small\" Description=\"&lt;b&gt;A&lt;/b&gt; test\"";
  mdx.records = {
      {"apple",
       "<b>apple</b> /\xCB\x88\xC3\xA6pl/<br><ol><li>a fruit</li><li>see <a "
       "href=\"entry://apple tree\">apple tree</a></li></ol>\r\n" +
           std::string(1, '\0')},
      {"apple tree", "the tree that bears apples" + std::string(1, '\0')},
      {"Apple", "a company" + std::string(1, '\0')},
      {"e-mail", "a message" + std::string(1, '\0')},
      {"pomme", "@@@LINK=apple\r\n" + std::string(1, '\0')},
  };
  return mdx;
}

TEST(MdictImport, VersionsBlocksAndScramblingReadAlike) {
  std::string first;
  for (int variant = 0; variant < 4; ++variant) {
    CliFolder dir;
    MdictFiles mdx = sampleMdx();
    mdx.version2 = variant != 1;
    mdx.compression = variant == 1 ? 0 : variant == 2 ? 1 : 2;
    mdx.scramble = variant == 2;
    if (variant == 3) {
      mdx.attributes.replace(mdx.attributes.find("UTF-8"), 5, "UTF-16");
      for (auto& [key, record] : mdx.records) {
        key = MdictFiles::utf16(key);
        record = MdictFiles::utf16(record.substr(0, record.size() - 1)) + std::string(2, '\0');
      }
    }
    dir.write("t.mdx", mdx.build());
    const CliResult r = dir.run({"import", "mdict", "t.mdx", "d.pvm"});
    ASSERT_EQ(r.status, 0) << variant << ": " << r.err;
    // "Apple" merges into "apple" (keys are not case-sensitive); "email" finds "e-mail".
    EXPECT_EQ(r.out, "imported 5, skipped 0\n") << variant;
    EXPECT_EQ(dir.run({"words", "d.pvm"}).out, "apple\napple tree\ne-mail\nemail\npomme\n");
    const std::string apple = dir.run({"meaning", "d.pvm", "0"}).out;
    EXPECT_EQ(apple.rfind("@apple|\xCB\x88\xC3\xA6pl|\r\n- a fruit\r\n- see $apple", 0), 0u)
        << apple;
    EXPECT_NE(apple.find("$\r\n\r\n- a company"), std::string::npos) << apple;
    EXPECT_EQ(dir.run({"meaning", "d.pvm", "3"}).out, "@e-mail\r\n- a message");
    EXPECT_EQ(dir.run({"meaning", "d.pvm", "4"}).out, "@pomme\r\n- See $apple$");
    const std::string info = dir.run({"info", "d.pvm"}).out;
    EXPECT_NE(info.find("title: Tiny & Small\n"), std::string::npos) << info;
    EXPECT_NE(info.find("description: A test\n"), std::string::npos) << info;
    const std::string all = dir.run({"export", "d.pvm"}).out;
    if (variant == 0) first = all;
    EXPECT_EQ(all, first) << variant;
  }
}

TEST(MdictImport, ChineseEncodingsAreConverted) {
  for (const auto& [encoding, key] :
       {std::pair<std::string, std::string>{"GBK", "\xD6\xD0"}, {"Big5", "\xA4\xA4"}}) {
    CliFolder dir;
    MdictFiles mdx;
    mdx.attributes = "Encoding=\"" + encoding + "\" Format=\"Text\"";
    mdx.records = {{key, key + std::string(1, '\0')}};
    dir.write("zh.mdx", mdx.build());
    ASSERT_EQ(dir.run({"import", "mdict", "zh.mdx", "d.pvm"}).status, 0) << encoding;
    EXPECT_EQ(dir.run({"words", "d.pvm"}).out, "\xE4\xB8\xAD\n") << encoding;  // 中
  }
}

TEST(MdictImport, DamagedAndEncryptedFilesAreRefusedWithTheirReason) {
  CliFolder dir;
  const std::string whole = sampleMdx().build();
  // Cut anywhere: a clear failure, never a dictionary.
  for (size_t cut = 0; cut < whole.size(); cut += whole.size() / 9) {
    dir.write("cut.mdx", whole.substr(0, cut));
    const CliResult r = dir.run({"import", "mdict", "cut.mdx", "d.pvm"});
    EXPECT_EQ(r.status, 1) << cut;
    EXPECT_NE(r.err.find("cut.mdx: "), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("d.pvm"))) << cut;
  }
  std::string damaged = whole;
  damaged[damaged.size() - 3] ^= 0x55;  // inside the last record block
  dir.write("bad.mdx", damaged);
  CliResult r = dir.run({"import", "mdict", "bad.mdx", "d.pvm"});
  EXPECT_NE(r.err.find("record block 2: a"), std::string::npos) << r.err;

  MdictFiles locked = sampleMdx();
  locked.encrypted = 1;
  std::string bytes = locked.build();
  dir.write("locked.mdx", bytes);
  r = dir.run({"import", "mdict", "locked.mdx", "d.pvm", "--force"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("encrypted for one registered user"), std::string::npos) << r.err;
}

TEST(MdictImport, AvailableListsDslAndMdictSourcesInTheFoldersGiven) {
  CliFolder dir;
  std::filesystem::create_directories(dir.file("src/deep"));
  dir.write("src/deep/t.mdx", sampleMdx().build());
  dir.write("src/p.dsl", "#NAME \"Pets\"\ncat\n  a pet\n");
  dir.write("src/p_abrv.dsl", "#NAME \"Abbreviations\"\nn\n  noun\n");
  const CliResult r = dir.run({"available", "--in", "src"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("DSL  src/p.dsl  \"Pets\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("MDict  src/deep/t.mdx  \"Tiny & Small\""), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("p_abrv"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace lexora::test
