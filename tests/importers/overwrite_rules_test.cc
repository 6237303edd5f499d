// import, create and install never write over what is not theirs, and a failed create leaves
// no files behind.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/cli_folder.h"

namespace lexora::test {
namespace {

namespace fs = std::filesystem;

TEST(OverwriteRules, ImportRefusesTargetsThatAreNoDictionary) {
  CliFolder dir;
  dir.write("s.tsv", "one\t- 1\n");
  dir.write("thesis.txt", "my thesis");
  const CliResult text = dir.run({"import", "tsv", "s.tsv", "thesis.txt"});
  EXPECT_NE(text.status, 0);
  EXPECT_NE(text.err.find("is not a dictionary"), std::string::npos) << text.err;
  EXPECT_EQ(dir.read("thesis.txt"), "my thesis");
  EXPECT_FALSE(fs::exists(dir.file("thesis.pdi")));

  fs::create_directory(dir.file("folder.pvm"));
  EXPECT_NE(dir.run({"import", "tsv", "s.tsv", "folder.pvm"}).status, 0);
  EXPECT_TRUE(fs::is_directory(dir.file("folder.pvm")));

  // A dictionary is replaced only when asked to.
  ASSERT_EQ(dir.run({"import", "tsv", "s.tsv", "d.pvm"}).status, 0);
  dir.write("t.tsv", "two\t- 2\nthree\t- 3\n");
  EXPECT_NE(dir.run({"import", "tsv", "t.tsv", "d.pvm"}).status, 0);
  EXPECT_EQ(dir.run({"words", "d.pvm"}).out, "one\n");
  ASSERT_EQ(dir.run({"import", "tsv", "t.tsv", "d.pvm", "--force"}).status, 0);
  EXPECT_EQ(dir.run({"words", "d.pvm"}).out, "three\ntwo\n");
}

TEST(OverwriteRules, CreateKeepsOtherDictionariesCompanions) {
  CliFolder dir;
  ASSERT_EQ(dir.run({"create", "en-vi.pvm", "--title", "Mine"}).status, 0);
  const std::string index = dir.read("en-vi.pdi");
  const CliResult r = dir.run({"create", "en-vi.bak"});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("belongs to another dictionary"), std::string::npos) << r.err;
  EXPECT_EQ(dir.read("en-vi.pdi"), index);
  EXPECT_FALSE(fs::exists(dir.file("en-vi.bak")));
  // The dictionary itself may be created afresh.
  EXPECT_EQ(dir.run({"create", "en-vi.pvm"}).status, 0);
}

TEST(OverwriteRules, AFailedCreateLeavesNoFiles) {
  CliFolder dir;
  fs::create_directory(dir.file("x.pvm"));
  EXPECT_NE(dir.run({"create", "x.pvm"}).status, 0);
  EXPECT_FALSE(fs::exists(dir.file("x.pdi")));
  EXPECT_FALSE(fs::exists(dir.file("x.pdw")));
  // The journal's name would pass the 255-byte limit of a file name.
  const std::string base = std::string(248, 'n');
  EXPECT_NE(dir.run({"create", base + ".pvm"}).status, 0);
  for (const char* ending : {".pvm", ".pdw", ".pdi"}) {
    EXPECT_FALSE(fs::exists(dir.file(base + ending))) << ending;
  }
}

}  // namespace
}  // namespace lexora::test
